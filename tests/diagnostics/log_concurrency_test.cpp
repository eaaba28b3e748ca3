#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "diagnostics/Debugdevice.h"
#include "diagnostics/log_support.h"

namespace kelvora::diagnostics::test {
namespace {

using ConcurrentLog = LogTest;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

TEST_F(ConcurrentLog, SessionsRestartWhileOtherThreadsWrite) {
  StartSession(dmFile);
  std::atomic<bool> stop{false};
  std::vector<std::thread> writers;
  for (int t = 0; t < 2; ++t)
    writers.emplace_back([t, &stop] {
      for (int i = 0; !stop; ++i)
        DebugLine("thread " + std::to_string(t) + " line " + std::to_string(i));
    });
  for (int cycle = 0; cycle < 50; ++cycle) {
    log_.Close();
    log_.Open();
  }
  stop = true;
  for (std::thread& writer : writers) writer.join();
  log_.Close();

  std::string text = ReadWhole(ProgramLog());
  ASSERT_EQ(text.rfind(kStartBanner, 0), 0u);
  const std::regex whole(R"(thread \d line \d+|\*+|\* Start of debug session \*|)"
                         R"(\*  End of debug session  \*|)");
  for (const std::string& line : SplitLines(text))
    ASSERT_TRUE(std::regex_match(line, whole)) << "broken line: " << line;
}

}  // namespace
}  // namespace kelvora::diagnostics::test
