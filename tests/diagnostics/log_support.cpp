#include "diagnostics/log_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kelvora::diagnostics::test {

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
