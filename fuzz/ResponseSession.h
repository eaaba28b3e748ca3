#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ReplyScript.h"

namespace kelvora::fuzz {

// What one fuzz input makes the session do while the script answers.
enum class SessionOp : uint8_t {
  OpenDevices,
  ReadConfig,
  OpenWsForCopy,  // the parameters only, as a download or upload dialog reads them
  OpenWsAndView,  // open for editing, then a view of the chosen range
  DownloadState,  // ProcessInput in one of the download driver's states
  UploadState,    // ProcessInput in one of the upload driver's states
  Download,       // a whole download into a file
  Upload,         // a whole upload of a small generated file
  Count,
};

// The first bytes of an input: the operation, the target and two 16-bit values that each
// operation uses as it needs (state, view range, block size, file layout).
struct SessionPlan {
  static constexpr size_t kBytes = 8;

  SessionOp op = SessionOp::OpenDevices;
  int instrument = 0;
  int layer = 0;
  int waveSample = 1;
  int value1 = 0;
  int value2 = 0;
  uint8_t flags = 0;

  static SessionPlan FromBytes(const uint8_t* data);  // kBytes of them
  std::vector<uint8_t> ToBytes() const;
};

// Runs the plan on a fresh session over the fuzz cable answered by `script`, in virtual time,
// and aborts with a message when the session ends up in a state it must never reach.
void RunSession(const SessionPlan& plan, ReplyScript& script, ScriptCable& cable,
                const std::string& scratchDir);

}  // namespace kelvora::fuzz
