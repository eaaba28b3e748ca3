#include "cli/GlobalOptions.h"

#include <CLI/CLI.hpp>

#include "protocol/Eps.h"

namespace kelvora::cli {

void GlobalOptions::Declare(CLI::App& program) {
  program
      .add_option("--device", device,
                  "The MIDI device the sampler is on, for input and output: its full "
                  "\"client:port\" name, a port's or client's name alone when only one device has "
                  "it, its number in the list of 'devices', or 'sim' for the built-in simulated "
                  "sampler")
      ->type_name("NAME|NUMBER|sim");
  program.add_option("--in", in, "The MIDI input, when it is not the --device")
      ->type_name("NAME|NUMBER|sim");
  program.add_option("--out", out, "The MIDI output, when it is not the --device")
      ->type_name("NAME|NUMBER|sim");
  program
      .add_option("--channel", channel,
                  "The sampler's base MIDI channel, 1-16 (before the command: after upload, "
                  "--channel picks the audio channel)")
      ->check(CLI::Range(1, 16).description(""))
      ->type_name("N");
  program
      .add_option("--block-size", blockSize,
                  "Samples per transfer block, 256-10240 (larger blocks move data a little "
                  "faster)")
      ->check(CLI::Range(256, protocol::kSampleBufferWords).description(""))
      ->type_name("SAMPLES");
  program
      .add_option("--sim-state", simState,
                  "The file where the built-in simulated sampler keeps its memory between runs")
      ->type_name("FILE");
  program.add_flag("--sim-paced", simPaced,
                   "The built-in simulated sampler takes as long as a real one over a MIDI cable "
                   "(31250 baud)");
  program.add_flag("--json", json, "Machine-readable output (ls, devices, plans and results)");
  program.add_flag("-q,--quiet", quiet, "No notes and no progress; errors only");
  program.add_flag("-v,--verbose", verbose, "Trace the protocol to the debug log");
}

}  // namespace kelvora::cli
