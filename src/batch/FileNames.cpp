#include "batch/FileNames.h"

#include <cctype>
#include <cstring>

namespace kelvora::batch {

std::string SafeFileName(const std::string& name, const std::string& fallback) {
  std::string safe;
  for (const char c : name) {
    const bool kept = std::isalnum(static_cast<unsigned char>(c)) || std::strchr(" -_.+#()", c);
    safe += kept && c != '\0' ? c : '_';
  }
  const size_t first = safe.find_first_not_of(". ");
  safe = first == std::string::npos ? std::string() : safe.substr(first);
  while (!safe.empty() && safe.back() == ' ') safe.pop_back();
  return safe.empty() ? fallback : safe;
}

}  // namespace kelvora::batch
