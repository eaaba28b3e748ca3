// Writes the seed corpora of fuzz_responses and fuzz_sim_parser: each operation run against the
// simulated sampler with the demo instruments, its real answers kept as the script and the
// program's real commands as the host's bytes, plus the messages of each transfer state built
// with the program's own codec.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ReplyScript.h"
#include "ResponseSession.h"
#include "ScratchFile.h"
#include "ScriptCable.h"
#include "protocol/Sysex.h"

namespace {

using namespace kelvora;
using namespace kelvora::fuzz;

void Save(const std::string& dir, const std::string& name, const SessionPlan& plan,
          const std::vector<Chunk>& chunks) {
  std::vector<uint8_t> bytes = plan.ToBytes();
  for (const Chunk& chunk : chunks) AppendChunk(bytes, chunk);
  std::ofstream(dir + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The host's side of a session as a fuzz_sim_parser input: channel 1, then each message in
// pieces of at most 255 bytes, the first piece of a message after a pause of 16 ms.
void SaveHostSide(const std::string& dir, const std::string& name,
                  const std::vector<Chunk>& messages) {
  std::vector<uint8_t> bytes = {0};
  for (const Chunk& message : messages) {
    for (size_t at = 0; at < message.size(); at += 255) {
      const size_t length = std::min<size_t>(255, message.size() - at);
      bytes.push_back(static_cast<uint8_t>(length));
      bytes.push_back(at == 0 ? 1 : 0);
      bytes.insert(bytes.end(), message.begin() + static_cast<std::ptrdiff_t>(at),
                   message.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
  }
  std::ofstream(dir + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::string simDir;

void Record(const std::string& dir, const std::string& name, const SessionPlan& plan) {
  ScriptCable cable;
  ReplyScript script(cable);
  RunSession(plan, script, cable, ScratchDir());
  Save(dir, name, plan, script.Recorded());
  SaveHostSide(simDir, name, script.HostMessages());
}

Chunk Build(const std::function<void(protocol::ByteSink&)>& build) {
  protocol::VectorSink sink;
  build(sink);
  return sink.bytes;
}

SessionPlan Plan(SessionOp op, int instrument, int waveSample, int value1, int value2,
                 uint8_t flags = 0) {
  SessionPlan plan;
  plan.op = op;
  plan.instrument = instrument;
  plan.waveSample = waveSample;
  plan.value1 = value1;
  plan.value2 = value2;
  plan.flags = flags;
  return plan;
}

void WriteStateSeeds(const std::string& dir) {
  const protocol::Target t{0, 0, 1};
  std::vector<int> words(256);
  for (size_t i = 0; i < words.size(); ++i) words[i] = static_cast<int>(i * 251) & 0xFFFF;
  const Chunk data = Build([&](auto& s) { protocol::SendDataMessage(s, 1, words.data(), 256); });
  // State 6 (read header): a data header, then the block after the program's ACK.
  Save(dir, "state-read-header", Plan(SessionOp::DownloadState, 0, 1, 6, 0x8000),
       {Build([&](auto& s) { protocol::SendWsDataHeader(s, 1, t, 0, 256); }), data});
  // State 8 (read data) with a range of 256 words: value1 >> 4 is the count, value1 % 9 the state.
  Save(dir, "state-read-data", Plan(SessionOp::DownloadState, 0, 1, 4103, 0x8000), {data});
  // Upload states see responses: WAIT then ACK, slow down, garbled, no wavesample.
  Chunk responses;
  for (int status : {1, 0, 20, 23, 8, 5, 6, 17})
    for (uint8_t b : Build([&](auto& s) { protocol::SendResponse(s, 1, status); }))
      responses.push_back(b);
  for (int state : {5, 8, 11, 14, 17})
    Save(dir, "state-upload-" + std::to_string(state), Plan(SessionOp::UploadState, 0, 1, state, 0),
         {responses});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <fuzz_responses corpus> <fuzz_sim_parser corpus>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  simDir = argv[2];
  Record(dir, "open-devices", Plan(SessionOp::OpenDevices, 0, 1, 0, 0));
  Record(dir, "read-config", Plan(SessionOp::ReadConfig, 0, 1, 0, 0));
  Record(dir, "open-copy", Plan(SessionOp::OpenWsForCopy, 0, 3, 0, 0));
  Record(dir, "open-view-whole", Plan(SessionOp::OpenWsAndView, 0, 1, 0, 0xFFFF));
  Record(dir, "open-view-zoomed", Plan(SessionOp::OpenWsAndView, 1, 1, 2, 12));
  Record(dir, "download", Plan(SessionOp::Download, 1, 1, 1024, 0));
  Record(dir, "upload-mono16-new-instrument", Plan(SessionOp::Upload, 5, 1, 700, 60, 0));
  Record(dir, "upload-stereo8-left", Plan(SessionOp::Upload, 0, 4, 300, 64, 1 | 2 | 1 << 2));
  WriteStateSeeds(dir);
  return 0;
}
