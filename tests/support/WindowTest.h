#pragma once

#include <QObject>
#include <QWidget>

#include "support/ModalGuard.h"

namespace kelvora::testing {

// The base of the window tests (Qt Test classes): a modal window that nobody answers fails the
// test with its name and title instead of hanging it.
class WindowTest : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 private:
  ModalGuard modalGuard_;
};

// Lets the event loop run for `ms` milliseconds.
void RunEvents(int ms);

// Gives `widget` the keyboard focus and waits until it really has it. A window just back from a
// modal dialog may still be settling its activation, and a widget shortcut pressed before that
// goes nowhere.
bool FocusAndWait(QWidget* widget);

}  // namespace kelvora::testing
