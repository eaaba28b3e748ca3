#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace kelvora::testing {

// While it lives, runs act on a modal dialog of type T each time one comes up (at most `times`
// times), from inside that dialog's own event loop. A dialog shown again counts again once it
// has been closed in between.
template <class T>
class ModalWatch {
 public:
  explicit ModalWatch(std::function<void(T*)> act, int times = 1)
      : act_(std::move(act)), times_(times) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }
  ~ModalWatch() { timer_.stop(); }
  ModalWatch(const ModalWatch&) = delete;
  ModalWatch& operator=(const ModalWatch&) = delete;

  int Seen() const { return seen_; }

 private:
  void Tick() {
    auto* dialog = dynamic_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
      actedOnShown_ = false;
      return;
    }
    if (actedOnShown_) return;
    actedOnShown_ = true;
    if (++seen_ >= times_) timer_.stop();
    act_(dialog);
    // Closed by act: the next showing is a new one, even if no tick sees it closed.
    actedOnShown_ = dialog->isVisible();
  }

  QTimer timer_;
  std::function<void(T*)> act_;
  int times_;
  int seen_ = 0;
  bool actedOnShown_ = false;
};

}  // namespace kelvora::testing
