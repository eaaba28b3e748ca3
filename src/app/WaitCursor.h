#pragma once

namespace kelvora::app {

// The hourglass over the whole application while long session operations run. Calls nest: the
// cursor returns only when every BeginWait has been matched; an extra EndWait does nothing.
class WaitCursor {
 public:
  ~WaitCursor();

  void BeginWait();
  void EndWait();
  int WaitCount() const { return waitCount_; }

 private:
  int waitCount_ = 0;
};

}  // namespace kelvora::app
