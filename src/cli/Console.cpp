#include "cli/Console.h"

namespace kelvora::cli {

Console::Console(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

void Console::Line(const std::string& text) { Write(out_, text + "\n", true); }

void Console::Document(const QJsonDocument& document) {
  Write(out_, document.toJson(QJsonDocument::Indented).toStdString(), true);
}

void Console::Note(const std::string& text) {
  if (!quiet_) Write(err_, text + "\n", false);
}

void Console::Error(const std::string& text) { Write(err_, "kelvora-cli: " + text + "\n", false); }

void Console::Write(std::FILE* stream, const std::string& text, bool isResult) {
  const bool written =
      std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
  if (!written && isResult) outputFailed_ = true;
}

}  // namespace kelvora::cli
