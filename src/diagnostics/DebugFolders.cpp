#include "diagnostics/DebugFolders.h"

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kelvora::diagnostics {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string DebugProgramFolder() {
  std::string overridden = Environment("KELVORA_DEBUG_DIR");
  if (!overridden.empty()) return overridden;
  if (QCoreApplication::instance() != nullptr)
    return QCoreApplication::applicationDirPath().toStdString();
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string();
}

std::string DebugStateFolder() {
  std::filesystem::path base(Environment("XDG_STATE_HOME"));
  if (base.empty() || !base.is_absolute()) {
    std::string home = Environment("HOME");
    if (home.empty()) return {};
    base = std::filesystem::path(home) / ".local" / "state";
  }
  std::filesystem::path folder = base / "kelvora";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) return {};
  return folder.string();
}

}  // namespace kelvora::diagnostics
