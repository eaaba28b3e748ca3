#pragma once

#include <string>

namespace kelvora::diagnostics {

// A line for whoever started the program from a terminal: written to standard error, and to
// the debug log when a session is open, so the log tells the same story.
void ProgramNotice(const std::string& line);

}  // namespace kelvora::diagnostics
