// Arbitrary bytes from the sampler while the session reads the configuration, opens and views a
// wavesample, runs each transfer state and whole transfers. Input: the 8-byte SessionPlan, then
// the script of answers (see ReplyScript).
#include <cstddef>
#include <cstdint>
#include <string>

#include "ResponseSession.h"
#include "ScratchFile.h"
#include "ScriptCable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvora::fuzz;
  if (size < SessionPlan::kBytes) return 0;
  const SessionPlan plan = SessionPlan::FromBytes(data);
  ScriptCable cable;
  ReplyScript script(cable, SplitChunks(data + SessionPlan::kBytes, size - SessionPlan::kBytes));
  RunSession(plan, script, cable, ScratchDir());
  return 0;
}
