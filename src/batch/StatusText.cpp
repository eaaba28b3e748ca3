#include "batch/StatusText.h"

namespace kelvora::batch {

std::string StatusText(int code) {
  switch (code) {
    case 5:
      return "invalid instrument";
    case 6:
      return "invalid layer";
    case 7:
      return "layer in use";
    case 8:
      return "invalid wavesample";
    case 9:
      return "wavesample in use";
    case 10:
      return "invalid wavesample data range";
    case 12:
      return "memory full";
    case 13:
      return "instrument in use";
    case 14:
      return "no more layers";
    case 15:
      return "no more wavesamples";
    case 17:
      return "wavesample is a copy";
    case 23:
      return "the last transfer was wrong";
    default:
      return "status " + std::to_string(code);
  }
}

}  // namespace kelvora::batch
