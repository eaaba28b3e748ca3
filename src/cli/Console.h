#pragma once

#include <QJsonDocument>
#include <cstdio>
#include <string>

namespace kelvora::cli {

// Where kelvora-cli speaks: results on standard output (text, or JSON with --json), messages on
// standard error. Quiet drops the notes; errors are always written. A result that cannot be
// written (a closed pipe, a full disk) is remembered, so the program can end with a failure
// instead of pretending.
class Console {
 public:
  Console(std::FILE* out, std::FILE* err);

  void SetJson(bool json) { json_ = json; }
  void SetQuiet(bool quiet) { quiet_ = quiet; }
  bool Json() const { return json_; }
  bool Quiet() const { return quiet_; }

  // One line of the result (text mode), with its line end.
  void Line(const std::string& text);
  // The result as one JSON document.
  void Document(const QJsonDocument& document);
  // A note for the person watching: what is being done, a plan in text mode.
  void Note(const std::string& text);
  // "kelvora-cli: " and the sentence, on standard error.
  void Error(const std::string& text);
  // Progress output goes here too, so it and the messages keep their order.
  std::FILE* ErrorStream() const { return err_; }

  bool OutputFailed() const { return outputFailed_; }

 private:
  void Write(std::FILE* stream, const std::string& text, bool isResult);

  std::FILE* out_;
  std::FILE* err_;
  bool json_ = false;
  bool quiet_ = false;
  bool outputFailed_ = false;
};

}  // namespace kelvora::cli
