#include "support/WindowTest.h"

#include <QTest>

namespace kelvora::testing {

void RunEvents(int ms) { QTest::qWait(ms); }

bool FocusAndWait(QWidget* widget) {
  return QTest::qWaitFor([widget] {
    widget->activateWindow();
    widget->setFocus();
    return widget->hasFocus();
  });
}

}  // namespace kelvora::testing
