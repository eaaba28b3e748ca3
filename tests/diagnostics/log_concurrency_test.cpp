#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <set>
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

TEST_F(ConcurrentLog, LinesFromSeveralThreadsStayWhole) {
  constexpr int kThreads = 4;
  constexpr int kLines = 300;
  StartSession(dmFile);
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t)
    writers.emplace_back([t] {
      TDebugDevice device;
      for (int i = 0; i < kLines; ++i)
        WriteDebugLine(&device, "thread " + std::to_string(t) + " line " + std::to_string(i));
    });
  for (std::thread& writer : writers) writer.join();
  log_.Close();

  std::vector<std::string> lines = SplitLines(ReadWhole(ProgramLog()));
  ASSERT_EQ(lines.size(), 3u + kThreads * kLines + 5u);
  std::set<std::string> written(lines.begin() + 3, lines.end() - 5);
  EXPECT_EQ(written.size(), static_cast<size_t>(kThreads * kLines));
  EXPECT_EQ(written.count("thread 3 line 299"), 1u);
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
