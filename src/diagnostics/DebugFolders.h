#pragma once

#include <string>

// Where the debug log file may go.
namespace kelvora::diagnostics {

// The folder the log file is tried in first: $KELVORA_DEBUG_DIR when set, else the folder of
// the running program (the application object's, or /proc/self/exe's without one).
std::string DebugProgramFolder();

// The fallback for a program folder that is not writable (an installed program):
// $XDG_STATE_HOME/kelvora, or ~/.local/state/kelvora when XDG_STATE_HOME is unset or not an
// absolute path. Created when missing; empty when it cannot be created.
std::string DebugStateFolder();

}  // namespace kelvora::diagnostics
