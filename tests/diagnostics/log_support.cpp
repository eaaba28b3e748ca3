#include "diagnostics/log_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kelvora::diagnostics::test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelvora-log-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
  if (const char* old = std::getenv(name)) saved_ = old;
  if (value)
    ::setenv(name, value->c_str(), 1);
  else
    ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (saved_)
    ::setenv(name_.c_str(), saved_->c_str(), 1);
  else
    ::unsetenv(name_.c_str());
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteWhole(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

LogTest::LogTest()
    : programDir_("KELVORA_DEBUG_DIR", temp_ / "program"),
      stateDir_("XDG_STATE_HOME", temp_ / "state") {
  std::filesystem::create_directories(temp_ / "program");
  log_.Close();
  log_.SetMedia(dmNull);
}

LogTest::~LogTest() {
  log_.Close();
  log_.SetMedia(dmNull);
}

void LogTest::StartSession(TDebugMedia media) {
  log_.Close();
  log_.SetMedia(media);
  log_.Open();
}

}  // namespace kelvora::diagnostics::test
