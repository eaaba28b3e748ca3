#include "batch/WavSamples.h"

#include <QCryptographicHash>
#include <algorithm>
#include <vector>

namespace kelvora::batch {

namespace {

constexpr int kHashBlock = 8192;

}  // namespace

bool WavSamples::Open(const std::string& path, std::string& failure) {
  file_.SetFileName(path);
  failed_ = false;
  count_ = left_ = 0;
  if (!file_.ReadHeader()) {
    failure = "'" + path + "' cannot be read: " + file_.LastError() + ".";
    return false;
  }
  if (file_.FormatTag != 1 || file_.Channels != 1 || file_.BitsPerSample != 16 ||
      file_.BlockAlign != 2) {
    file_.Close();
    failure = "'" + path + "' is not the mono 16-bit file a backup writes.";
    return false;
  }
  if (file_.CutShort) {
    file_.Close();
    failure = "'" + path + "' is cut short: it holds fewer samples than its header announces.";
    return false;
  }
  count_ = left_ = file_.FrameCount;
  return true;
}

int WavSamples::Read(int16_t* out, int max) {
  int read = 0;
  uint8_t frame[2];
  while (read < max && left_ > 0) {
    if (!file_.ReadFrame(frame, sizeof frame)) {
      failed_ = true;
      left_ = 0;
      break;
    }
    out[read++] = static_cast<int16_t>(frame[0] | frame[1] << 8);
    --left_;
  }
  if (left_ == 0) file_.Close();
  return read;
}

bool HashSamples(const std::string& path, std::string& sha256, int64_t& count,
                 std::string& failure) {
  WavSamples samples;
  if (!samples.Open(path, failure)) return false;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  std::vector<int16_t> block(kHashBlock);
  QByteArray bytes(2 * kHashBlock, 0);
  for (int n; (n = samples.Read(block.data(), kHashBlock)) > 0;) {
    for (int i = 0; i < n; ++i) {
      bytes[2 * i] = static_cast<char>(block[i] & 0xFF);
      bytes[2 * i + 1] = static_cast<char>((block[i] >> 8) & 0xFF);
    }
    hash.addData(QByteArrayView(bytes.constData(), 2 * n));
  }
  if (samples.Failed()) {
    failure = "'" + path + "' could not be read to its end.";
    return false;
  }
  count = samples.Count();
  sha256 = hash.result().toHex().toStdString();
  return true;
}

}  // namespace kelvora::batch
