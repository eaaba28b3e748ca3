#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kelvora::dialogs {

// The MIDI ports raise failures nothing can mend ("error: Midiout takes too long to send data");
// they end the command that met them, and the user reads the port's own words in this box.
void ShowPortFailure(QWidget* parent, const QString& text);

// Runs a command of a dialog's own control. A port failure raised in it is shown instead of
// unwinding through the event loop; then the result is false.
bool RunShowingPortFailure(QWidget* parent, const std::function<void()>& command);

}  // namespace kelvora::dialogs
