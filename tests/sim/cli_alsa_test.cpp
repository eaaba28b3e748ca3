// kelvora-sim --alsa against a real ALSA sequencer (label hardware): a peer client connects to
// the program's port as any MIDI program would, and runs messages larger than one sequencer
// event through it both ways.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <string>

#include "cli_child.h"
#include "cli_host.h"
#include "midi/AlsaPortList.h"
#include "midi/AlsaSender.h"
#include "midi/AlsaSequencer.h"

namespace kelvora::simcli::test {
namespace {

using namespace midi;

// A client of our own with one duplex port, connected both ways to the program's port. What
// it sends goes out paced, like Kelvora's own output.
class AlsaPeer : public SamplerLink {
 public:
  ~AlsaPeer() override {
    sender_.reset();
    sequencer_.Close();
  }

  int Connect(AlsaAddress sim) {
    int error = sequencer_.Open("KelvoraSimPeer");
    if (!error) error = sequencer_.CreatePort("Peer", AlsaSequencer::kDuplexCaps);
    if (!error) error = sequencer_.ConnectTo(sim);
    if (!error) error = sequencer_.ConnectFrom(sim);
    if (!error)
      error = sequencer_.StartInput({[this](const uint8_t* data, size_t length) {
                                       std::lock_guard lock(mutex_);
                                       input_.insert(input_.end(), data, data + length);
                                       arrived_.notify_all();
                                     },
                                     nullptr, nullptr});
    if (error) return error;
    sender_ = std::make_unique<AlsaSender>(
        AlsaSender::Output{
            [this](const uint8_t* d, size_t n) { return sequencer_.SendSysex(d, n); },
            [this](uint32_t packed) { return sequencer_.SendShort(packed); }},
        AlsaSender::Handlers{});
    return 0;
  }
  AlsaSequencer& Sequencer() { return sequencer_; }

  bool Write(const Bytes& bytes) override {
    sender_->SendLong(bytes.data(), bytes.size());
    return true;
  }
  // Replies of thousands of bytes come paced at 3125 bytes a second.
  Bytes ReadMessage() override {
    std::unique_lock lock(mutex_);
    const auto end = [&] { return std::find(input_.begin(), input_.end(), 0xF7); };
    if (!arrived_.wait_for(lock, 30s, [&] { return end() != input_.end(); })) return {};
    const auto stop = end() + 1;
    Bytes message(input_.begin(), stop);
    input_.erase(input_.begin(), stop);
    return message;
  }

 private:
  AlsaSequencer sequencer_;
  std::unique_ptr<AlsaSender> sender_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  Bytes input_;
};

// The address the program announces on standard error.
std::optional<AlsaAddress> Announced(const std::string& error) {
  std::smatch match;
  if (!std::regex_search(error, match, std::regex("ALSA port ([0-9]+):([0-9]+)"))) return {};
  return AlsaAddress{std::stoi(match[1]), std::stoi(match[2])};
}

TEST(SimCliAlsa, AnswersOnItsPortWithLargeMessagesBothWays) {
  if (access("/dev/snd/seq", F_OK) != 0) {
    GTEST_SKIP() << "no ALSA sequencer here (/dev/snd/seq missing): hardware test skipped";
  }
  ChildProcess child(KELVORA_SIM_PROGRAM, {"--alsa", "--empty"});
  ASSERT_TRUE(child.WaitForError("; Ctrl+C ends")) << child.Error();
  const std::optional<AlsaAddress> sim = Announced(child.Error());
  ASSERT_TRUE(sim) << child.Error();

  AlsaPeer peer;
  ASSERT_EQ(peer.Connect(*sim), 0);
  const std::vector<AlsaPortInfo> ports =
      AlsaPortList::Scan(peer.Sequencer().Handle(), AlsaDirection::Output, {});
  const auto port = std::find_if(ports.begin(), ports.end(), [&](const AlsaPortInfo& p) {
    return p.client == sim->client && p.port == sim->port;
  });
  ASSERT_NE(port, ports.end());
  EXPECT_EQ(port->name, AlsaPortList::DeviceName("Simulated EPS-16 PLUS", "Simulated EPS-16 PLUS"));

  Host host(peer);
  ASSERT_TRUE(host.Send([](protocol::ByteSink& s) { protocol::SendProbe(s, 1); }));
  EXPECT_EQ(host.Answer(), 0);
  const std::vector<int> samples = Ramp(3000, 331, -20000);  // 9005 bytes: 36 events
  host.Upload(0, samples);
  EXPECT_EQ(host.Download(protocol::Target{0, 0, 1}, 0, 3000), samples);

  child.Signal(SIGTERM);
  EXPECT_EQ(child.Finish(), 0) << child.Error();
}

}  // namespace
}  // namespace kelvora::simcli::test
