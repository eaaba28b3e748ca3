#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>

namespace kelvora::testing {

// Ends a modal window that nobody answers. A window test acts on the dialogs it expects from
// inside their own event loop (WhenModal, ModalWatch); a dialog it did not expect waits for a
// click that never comes, and the test would hang until CTest's time limit. While the guard
// lives, a modal window that keeps the test in its event loop for longer than `grace` is
// reported (by default as a failure of the running Qt test, naming the window's class, title and
// text) and rejected, so the test goes on and fails with that message.
class ModalGuard {
 public:
  using Report = std::function<void(const QString& message)>;
  static constexpr std::chrono::milliseconds kGrace{10000};

  explicit ModalGuard(std::chrono::milliseconds grace = kGrace, Report report = FailTest);
  ModalGuard(const ModalGuard&) = delete;
  ModalGuard& operator=(const ModalGuard&) = delete;

  // What the guard says about `window`: its class, its title and what it says (a message box's
  // text, or the texts of its visible labels).
  static QString Describe(const QWidget& window);
  // Fails the Qt test that is running with `message`.
  static void FailTest(const QString& message);

 private:
  void Check();

  std::chrono::milliseconds grace_;
  Report report_;
  QTimer timer_;
  QPointer<QWidget> watched_;
  QElapsedTimer since_;
};

}  // namespace kelvora::testing
