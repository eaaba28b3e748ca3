#pragma once

#include "protocol/SessionUi.h"

namespace kelvora::protocol {

// The wait cursor for as long as the object lives. A port failure raised in the middle of an
// operation (a message not sent within 20 s) then still ends the wait it began.
class EpsWaitCursor {
 public:
  explicit EpsWaitCursor(SessionUi& ui) : ui_(ui) { ui_.BeginWait(); }
  ~EpsWaitCursor() { ui_.EndWait(); }
  EpsWaitCursor(const EpsWaitCursor&) = delete;
  EpsWaitCursor& operator=(const EpsWaitCursor&) = delete;

 private:
  SessionUi& ui_;
};

}  // namespace kelvora::protocol
