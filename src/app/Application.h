#pragma once

namespace kelvora::app {

// The whole program: the single-instance guard, the MIDI device lists (ALSA ports, then the
// simulated sampler), the main window and the event loop. Returns the process exit code.
int RunKelvora(int argc, char** argv);

}  // namespace kelvora::app
