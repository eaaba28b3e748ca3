#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "transfer/Progress.h"

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::transfer {

// The polling loop both transfer drivers share. Each pass processes pending window events,
// ends the transfer when the user pressed Cancel, logs the state when it changed and performs
// the state's action. A state that waits for the sampler blocks on the input port for at most
// a short slice per pass, so the loop uses no CPU while the wire is busy and Cancel still works.
class TransferLoop {
 public:
  using EventPump = std::function<void()>;

  // Longest block of one pass while waiting for input or sleeping, so the window's events are
  // processed at least this often. 100 ms answers Cancel, Esc and the close box within the time
  // a user takes as immediate; the progress window needs no more, since its bar and time left
  // change only when a block has arrived (256 samples take 0.25 s on the wire), and the wait
  // ends as soon as the block is there.
  static constexpr uint32_t kSliceMs = 100;

  TransferLoop(protocol::TEps& eps, TransferProgress& progress, EventPump pump);

  // Runs until `state` is 0. stateLine is the log text before the state number; cancelLine is
  // logged when Cancel ends the loop (nothing when empty). True when Cancel ended it.
  bool Run(int& state, const std::string& stateLine, const std::string& cancelLine,
           const std::function<void()>& act);

  // True once `bytes` bytes wait in the input; otherwise blocks until they do or a slice passed,
  // woken by the input that completes them rather than by each piece of a block on the wire.
  // `bytes` must fit the port's ring, as the largest block's 30725 bytes do.
  bool InputReady(unsigned bytes);
  // Sleeps `ms` in slices between event pumps; false when the user cancelled meanwhile.
  bool Pause(uint32_t ms);
  void Pump();
  // After a transfer that ended early the sampler may still be sending what it had begun: the
  // answer to the last request, a data header, the rest of a data block. Taken as the answers
  // to the next requests, those bytes would put every later exchange out of step, so they are
  // dropped until the input has been quiet for a while.
  void DropLateInput();
  // The session's BlockSize kept within the 256..10240 samples a block may hold.
  int BlockSize() const;

 private:
  protocol::TEps& eps_;
  TransferProgress& progress_;
  EventPump pump_;
};

}  // namespace kelvora::transfer
