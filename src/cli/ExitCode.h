#pragma once

namespace kelvora::cli {

// The exit codes of kelvora-cli; scripts rely on the numbers.
enum ExitCode {
  kExitDone = 0,
  kExitFailed = 1,         // the sampler, the MIDI devices or a file let the job down
  kExitBadUsage = 2,       // options or arguments that cannot be used
  kExitNoSampler = 3,      // no sampler answered on the device and channel
  kExitRefused = 4,        // refused before anything was sent: a plan that does not fit, a file
  kExitInterrupted = 130,  // Ctrl+C (SIGINT) or SIGTERM stopped the job
};

// Of two outcomes, the one a script must hear about, in this order: interrupted, bad usage, no
// sampler, refused, failed, done.
int WorseExit(int a, int b);

}  // namespace kelvora::cli
