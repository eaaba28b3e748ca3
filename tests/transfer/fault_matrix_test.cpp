// Every fault the simulated sampler can commit against every operation of the session: each cell
// must end cleanly within its time limit (virtual time), leave no downloaded file whose header
// disagrees with its data, never report a wrong transfer as done, and leave the session usable.
// The outcome of every cell is printed as a table and written beside the test program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "protocol/Records.h"
#include "sim/FaultPlan.h"
#include "sim/SamplerStatus.h"
#include "transfer/RiffFile.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;

struct Fault {
  std::string name;
  std::function<void(sim::FaultPlan&)> arm;
};

// Every status the sampler documents besides ACK and WAIT, forced onto every command.
std::vector<Fault> Faults() {
  std::vector<Fault> faults = {
      {"silence", [](sim::FaultPlan& p) { p.silentMessages = 1; }},
      {"byte dropped", [](sim::FaultPlan& p) { p.byteIndex = 5; }},
      {"byte changed",
       [](sim::FaultPlan& p) {
         p.byteIndex = 6;
         p.dropByte = false;
         p.replacementByte = 0x55;
       }},
      {"wrong channel", [](sim::FaultPlan& p) { p.wrongChannelMessages = 1; }},
      {"WAIT storm x200", [](sim::FaultPlan& p) { p.waitsBeforeAnswer = 200; }},
      {"slow-down/block", [](sim::FaultPlan& p) { p.slowDownEveryBlock = true; }},
      {"overlong data", [](sim::FaultPlan& p) { p.overlongDataWords = 300; }},
      {"cut after 12 B", [](sim::FaultPlan& p) { p.cutMessageAfter = 12; }},
  };
  for (int code = 2; code <= 30; ++code) {
    if (code == 16) continue;  // not a status the sampler documents
    faults.push_back({"status " + std::to_string(code), [code](sim::FaultPlan& p) {
                        for (int type = 0x02; type <= 0x41; ++type) p.forcedStatus[type] = code;
                      }});
  }
  return faults;
}

enum class Verdict { Ok, FailedCleanly, Cancelled };

struct CellResult {
  Verdict verdict = Verdict::FailedCleanly;
  uint32_t ms = 0;
};

// The user presses Cancel once a transfer has shown no progress for a virtual second; the time
// of that press is kept to check how soon the transfer stops.
class PatientUser : public RecordingProgress {
 public:
  explicit PatientUser(testing::FakeClock& clock) : clock_(clock) {}
  void ShowProgress() override {
    RecordingProgress::ShowProgress();
    last_ = clock_.Now();
  }
  void UpdateProgress(float secondsLeft, float percent) override {
    RecordingProgress::UpdateProgress(secondsLeft, percent);
    last_ = clock_.Now();
  }
  bool Cancelled() override {
    if (!pressed_ && clock_.Now() - last_ > 1000) {
      pressed_ = true;
      pressedAt_ = clock_.Now();
    }
    return pressed_;
  }
  bool Pressed() const { return pressed_; }
  uint32_t PressedAt() const { return pressedAt_; }

 private:
  testing::FakeClock& clock_;
  uint32_t last_ = 0;
  bool pressed_ = false;
  uint32_t pressedAt_ = 0;
};

class Matrix;

struct Operation {
  std::string name;
  uint32_t limitMs;  // longest a session operation may take; transfers end by Cancel instead
  std::function<Verdict(Matrix&, const std::function<void()>& inject)> run;
};

constexpr int kNewInstrument = 4;
// Settle time while a transfer polls: its waits never give up on their own, so a short settle
// only means more passes, and a stalled transfer reaches the Cancel press sooner.
constexpr std::chrono::milliseconds kTransferSettle{60};

class Matrix : public TransferFixture {
 public:
  using TransferFixture::clock;
  using TransferFixture::eps;
  using TransferFixture::Sampler;
  using TransferFixture::Settle;

  void TestBody() override {}
  void Prepare() { SetUp(); }
  void Finish() { TearDown(); }

  bool OpenForEdit() { return eps->OpenWs(true) == 1; }

  Verdict Edit(const std::function<void()>& inject, const std::function<void()>& edit) {
    if (!OpenForEdit()) throw std::runtime_error("the demo wavesample does not open");
    Settle();
    inject();
    edit();
    return eps->WaitResult() == prAck ? Verdict::Ok : Verdict::FailedCleanly;
  }

  Verdict Download(const std::function<void()>& inject) {
    PatientUser user(clock);
    DownloadEngine engine(*eps, user);
    if (!engine.Begin() || eps->OpenWs(false) != 1) throw std::runtime_error("no record");
    const int start = GetPosition(eps->WsParams, kWsSampleStart);
    const int end = GetPosition(eps->WsParams, kWsSampleEnd);
    const std::vector<int16_t> held = SamplerData(0, 1);
    inject();
    const std::string path = temp_ / "down.wav";
    const TransferResult result = Transfer(user, [&] { return engine.Download(path); });
    // The file's header must describe exactly the samples it holds, in every outcome.
    std::vector<int16_t> got;
    EXPECT_NO_THROW(got = DownloadedSamples(path)) << "a downloaded file lies about its length";
    EXPECT_EQ(got.size(), static_cast<size_t>(result.samples));
    if (result.Succeeded()) {
      EXPECT_EQ(got, std::vector<int16_t>(held.begin() + start, held.begin() + end))
          << "a download reported as done holds other samples";
    }
    return VerdictOf(result, user);
  }

  Verdict Upload(const std::function<void()>& inject) {
    PatientUser user(clock);
    const std::vector<int16_t> signal = TestSignal(1000);
    WriteMono16(temp_ / "up.wav", signal);
    UploadEngine engine(*eps, user);
    if (!engine.Begin()) throw std::runtime_error("no sampler");
    eps->ReadConfig();
    TRiffFile file;
    file.SetFileName(temp_ / "up.wav");
    file.ReadHeader();
    UploadChoices choices;
    choices.instrument = kNewInstrument;
    inject();
    const TransferResult result = Transfer(user, [&] { return engine.Upload(choices, file); });
    if (result.Succeeded()) {
      const std::vector<int16_t> stored = SamplerData(kNewInstrument, 1);
      EXPECT_GE(stored.size(), signal.size());
      if (stored.size() >= signal.size()) {
        EXPECT_EQ(std::vector<int16_t>(stored.begin(), stored.begin() + 1000), signal)
            << "an upload reported as done stored other samples";
      }
    }
    return VerdictOf(result, user);
  }

  bool WaveSampleGone(int instrument, int waveSample) {
    Settle();
    return Sampler().WithMemory([&](sim::SamplerMemory& memory) {
      return memory.WaveSample(instrument, waveSample) == nullptr;
    });
  }

  // After the fault is cleared the next probe and configuration read work.
  bool Usable() {
    Sampler().SetFaults(sim::FaultPlan{});
    clock.SetSettleTime(std::chrono::milliseconds(300));
    Settle();
    if (!eps->OpenDevices()) return false;
    eps->ReadConfig();
    return eps->InstrInUse[0] && eps->InstrInUse[1];
  }

  TempFolder temp_;

 private:
  TransferResult Transfer(PatientUser& user, const std::function<TransferResult()>& run) {
    clock.SetSettleTime(kTransferSettle);
    const TransferResult result = run();
    if (user.Pressed()) {
      EXPECT_LE(clock.Now() - user.PressedAt(), 1000u) << "Cancel took longer than a second";
      EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
    }
    clock.SetSettleTime(std::chrono::milliseconds(300));
    EXPECT_EQ(eps->DownloadState, dsIdle);
    EXPECT_EQ(eps->UploadState, usIdle);
    return result;
  }

  static Verdict VerdictOf(const TransferResult& result, const PatientUser& user) {
    if (result.Succeeded()) return Verdict::Ok;
    if (user.Pressed()) return Verdict::Cancelled;
    EXPECT_FALSE(result.message.empty()) << "a failed transfer says nothing";
    return Verdict::FailedCleanly;
  }
};

Verdict Bool(bool ok) { return ok ? Verdict::Ok : Verdict::FailedCleanly; }

// Limits: each wait for a message gives up after 10 s of silence, a WaitResult after 30 s.
std::vector<Operation> Operations() {
  auto edit = [](std::string name, std::function<void(TEps&)> command) {
    return Operation{name, 60000, [command](Matrix& m, const std::function<void()>& inject) {
                       return m.Edit(inject, [&] { command(*m.eps); });
                     }};
  };
  return {
      {"probe", 20000,
       [](Matrix& m, auto inject) {
         inject();
         return Bool(m.eps->OpenDevices());
       }},
      {"config", 200000,
       [](Matrix& m, auto inject) {
         inject();
         m.eps->ReadConfig();
         return Bool(m.eps->InstrInUse[0] && m.eps->InstrInUse[1] && m.eps->InstrInUse[2]);
       }},
      {"open", 60000,
       [](Matrix& m, auto inject) {
         inject();
         return Bool(m.OpenForEdit());
       }},
      {"overview", 60000,
       [](Matrix& m, auto inject) {
         if (!m.OpenForEdit()) throw std::runtime_error("the demo wavesample does not open");
         m.eps->OverviewStale = true;
         inject();
         return Bool(m.eps->RefreshOverview());
       }},
      edit("clear", [](TEps& e) { e.ClearData(10, 100); }),
      edit("fade in", [](TEps& e) { e.FadeIn(10, 100, 3); }),
      edit("fade out", [](TEps& e) { e.FadeOut(10, 100, 3); }),
      edit("normalize", [](TEps& e) { e.NormalizeGain(); }),
      edit("reverse", [](TEps& e) { e.ReverseData(10, 100); }),
      edit("scale", [](TEps& e) { e.ScaleData(10, 100, 256, 128, 2); }),
      {"points", 60000,
       [](Matrix& m, auto inject) {
         if (!m.OpenForEdit()) throw std::runtime_error("the demo wavesample does not open");
         inject();
         return Bool(m.eps->WriteWsParams() == 1);
       }},
      {"download", 0, [](Matrix& m, auto inject) { return m.Download(inject); }},
      {"upload", 0, [](Matrix& m, auto inject) { return m.Upload(inject); }},
      {"rename", 60000,
       [](Matrix& m, auto inject) {
         inject();
         return Bool(m.eps->RenameInstrument(1, "FAULTY"));
       }},
      {"delete inst", 20000,
       [](Matrix& m, auto inject) {
         inject();
         return Bool(m.eps->DeleteInstrument(2) == prAck);
       }},
      {"delete ws", 20000,
       [](Matrix& m, auto inject) {
         m.eps->ReadConfig();
         inject();
         m.eps->DeleteWaveSample(0, 1);
         return Bool(m.WaveSampleGone(0, 1));
       }},
  };
}

std::string Cell(const CellResult& cell) {
  static const char* const names[] = {"ok", "fail", "cancel"};
  std::ostringstream text;
  text << names[static_cast<int>(cell.verdict)] << ' ' << std::fixed << std::setprecision(1)
       << cell.ms / 1000.0 << 's';
  return text.str();
}

std::string Table(const std::vector<Operation>& operations, const std::vector<Fault>& faults,
                  const std::map<std::pair<size_t, size_t>, CellResult>& cells) {
  std::ostringstream out;
  out << std::left << std::setw(17) << "fault \\ op";
  for (const Operation& op : operations) out << std::setw(13) << op.name;
  out << '\n';
  for (size_t f = 0; f < faults.size(); ++f) {
    out << std::setw(17) << faults[f].name;
    for (size_t o = 0; o < operations.size(); ++o) {
      const auto cell = cells.find({o, f});
      out << std::setw(13) << (cell == cells.end() ? "-" : Cell(cell->second));
    }
    out << '\n';
  }
  return out.str();
}

TEST(FaultMatrix, EveryFaultAgainstEveryOperationEndsCleanly) {
  const std::vector<Operation> operations = Operations();
  const std::vector<Fault> faults = Faults();
  std::map<std::pair<size_t, size_t>, CellResult> cells;
  for (size_t o = 0; o < operations.size(); ++o) {
    for (size_t f = 0; f < faults.size(); ++f) {
      SCOPED_TRACE(operations[o].name + " x " + faults[f].name);
      Matrix cell;
      cell.Prepare();
      if (::testing::Test::HasFatalFailure()) return;
      uint32_t begin = 0;
      auto inject = [&] {
        cell.Settle();
        sim::FaultPlan plan;
        faults[f].arm(plan);
        cell.Sampler().SetFaults(plan);
        begin = cell.clock.Now();
      };
      CellResult result;
      result.verdict = operations[o].run(cell, inject);
      result.ms = cell.clock.Now() - begin;
      if (operations[o].limitMs > 0) {
        EXPECT_LE(result.ms, operations[o].limitMs);
      }
      EXPECT_TRUE(cell.Usable()) << "the session does not work once the fault is gone";
      cells[{o, f}] = result;
      cell.Finish();
    }
  }
  const std::string table = Table(operations, faults, cells);
  std::cout << table;
  std::ofstream(KELVORA_MATRIX_FILE) << table;
}

}  // namespace
}  // namespace kelvora::transfer::test
