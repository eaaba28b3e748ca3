#pragma once

namespace kelvora::cli {

// Ctrl+C (SIGINT) and SIGTERM as a request to stop: the running transfer ends cleanly at its
// next turn and the program exits with 130. The handler only sets a flag; a second signal finds
// the default action again and ends the program at once, for when a clean stop hangs. One per
// process; the handlers are restored when it goes. SIGPIPE is ignored meanwhile, so output to a
// reader that has gone fails as a write instead of ending the program.
class Interrupt {
 public:
  Interrupt();
  ~Interrupt();
  Interrupt(const Interrupt&) = delete;
  Interrupt& operator=(const Interrupt&) = delete;

  // Any thread; also what a signal does.
  static void Request();
  static bool Requested();
  // Forgets an earlier request (tests running several jobs in one process).
  static void Clear();

 private:
  bool installed_ = false;
};

}  // namespace kelvora::cli
