#include "diagnostics/DebugFileSink.h"

namespace kelvora::diagnostics {

TDebugFileSink::~TDebugFileSink() {
  if (file_ != nullptr) std::fclose(file_);
}

bool TDebugFileSink::Create(const std::string& path) {
  if (file_ != nullptr) std::fclose(file_);
  // Binary mode: the log's lines already end in CR LF.
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) return false;
  std::setvbuf(file_, nullptr, _IOLBF, BUFSIZ);
  return true;
}

void TDebugFileSink::Write(std::string_view text) {
  if (file_ != nullptr && !text.empty()) std::fwrite(text.data(), 1, text.size(), file_);
}

void TDebugFileSink::Flush() {
  if (file_ != nullptr) std::fflush(file_);
}

}  // namespace kelvora::diagnostics
