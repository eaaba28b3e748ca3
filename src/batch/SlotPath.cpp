#include "batch/SlotPath.h"

#include <cctype>

namespace kelvora::batch {

namespace {

constexpr int kInstruments = 8;
constexpr int kLayers = 8;
constexpr int kWaveSamples = 127;

struct Part {
  const char* name;
  int highest;
};

constexpr Part kParts[] = {
    {"instrument", kInstruments}, {"layer", kLayers}, {"wavesample", kWaveSamples}};

// One number of the path, 1..highest; 0 when it is not one.
int ReadNumber(const std::string& text) {
  if (text.empty() || text.size() > 3) return 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
  }
  return std::stoi(text);
}

}  // namespace

std::optional<SlotPath> ParseSlotPath(const std::string& text, std::string& error) {
  int numbers[3] = {0, 0, 0};
  size_t start = 0;
  int count = 0;
  for (;;) {
    const size_t slash = text.find('/', start);
    const std::string piece = text.substr(start, slash - start);
    if (count == 3) {
      error = "'" + text + "' has more than three parts; a slot is I, I/L or I/L/W.";
      return std::nullopt;
    }
    const Part& part = kParts[count];
    const int number = ReadNumber(piece);
    if (number < 1 || number > part.highest) {
      error = "'" + text + "' is no slot: the " + part.name + " must be a number from 1 to " +
              std::to_string(part.highest) + (piece.empty() ? "" : ", not '" + piece + "'") + ".";
      return std::nullopt;
    }
    numbers[count++] = number;
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return SlotPath{numbers[0] - 1, numbers[1] - 1, numbers[2]};
}

// Appended piece by piece: GCC 12 warns falsely about "/" + std::to_string(...).
std::string FormatSlotPath(const SlotPath& path) {
  std::string text = std::to_string(path.instrument + 1);
  if (path.HasLayer()) text.append(1, '/').append(std::to_string(path.layer + 1));
  if (path.HasLayer() && path.HasWaveSample()) {
    text.append(1, '/').append(std::to_string(path.waveSample));
  }
  return text;
}

std::string FormatWaveSample(int instrument, int layer, int waveSample) {
  std::string text = std::to_string(instrument + 1);
  text.append(1, '/').append(layer >= 0 ? std::to_string(layer + 1) : std::string("?"));
  return text.append(1, '/').append(std::to_string(waveSample));
}

}  // namespace kelvora::batch
