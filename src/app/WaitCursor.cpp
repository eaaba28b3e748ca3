#include "app/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace kelvora::app {

WaitCursor::~WaitCursor() {
  if (waitCount_ > 0) QGuiApplication::restoreOverrideCursor();
}

void WaitCursor::BeginWait() {
  if (++waitCount_ == 1) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void WaitCursor::EndWait() {
  if (waitCount_ == 0) return;
  if (--waitCount_ == 0) QGuiApplication::restoreOverrideCursor();
}

}  // namespace kelvora::app
