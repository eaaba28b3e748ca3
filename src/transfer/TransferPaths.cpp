#include "transfer/TransferPaths.h"

namespace kelvora::transfer {
namespace {

constexpr const char* kSeparators = "/\\";

bool IsDriveRoot(const std::string& folder) {
  return folder.size() == 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t last = path.find_last_of(kSeparators);
  if (last == std::string::npos) return {};
  if (last == 0) return path.substr(0, 1);
  const std::string withSeparator = path.substr(0, last + 1);
  return IsDriveRoot(withSeparator) ? withSeparator : path.substr(0, last);
}

std::string NameBeforeFirstDot(const std::string& path) {
  const size_t last = path.find_last_of(kSeparators);
  const std::string name = last == std::string::npos ? path : path.substr(last + 1);
  return name.substr(0, name.find('.'));
}

}  // namespace kelvora::transfer
