#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace kelvora::testing {

// Runs `action` once a modal window of type T is up (it is given that window), or gives up after
// about ten seconds. The dialogs of the program run their own event loop, so tests act on them
// from inside it.
template <class T>
void WhenModal(std::function<void(T*)> action) {
  auto* timer = new QTimer(qApp);
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, action, ticks] {
    auto* window = dynamic_cast<T*>(QApplication::activeModalWidget());
    if ((window && window->isVisible()) || ++*ticks > 2000) {
      timer->stop();
      timer->deleteLater();
      if (window) action(window);
    }
  });
  timer->start(5);
}

}  // namespace kelvora::testing
