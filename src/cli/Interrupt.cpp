#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace kelvora::cli {

namespace {

std::atomic<bool> gRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler's flag must be lock-free");

extern "C" void OnSignal(int) { gRequested.store(true); }

void SetAction(int signal, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

}  // namespace

Interrupt::Interrupt() {
  // SA_RESETHAND: the second signal finds the default action and ends the program.
  SetAction(SIGINT, &OnSignal, SA_RESTART | SA_RESETHAND);
  SetAction(SIGTERM, &OnSignal, SA_RESTART | SA_RESETHAND);
  // A reader that has gone is a failed write the program reports, not a death in the middle of
  // a transfer that would leave the sampler out of step.
  SetAction(SIGPIPE, SIG_IGN, 0);
  installed_ = true;
}

Interrupt::~Interrupt() {
  if (!installed_) return;
  SetAction(SIGINT, SIG_DFL, 0);
  SetAction(SIGTERM, SIG_DFL, 0);
  SetAction(SIGPIPE, SIG_DFL, 0);
}

void Interrupt::Request() { gRequested.store(true); }

bool Interrupt::Requested() { return gRequested.load(); }

void Interrupt::Clear() { gRequested.store(false); }

}  // namespace kelvora::cli
