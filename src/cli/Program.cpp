#include "cli/Program.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <memory>

#include "KelvoraVersion.h"
#include "cli/CommandContext.h"
#include "cli/Commands.h"
#include "cli/Defaults.h"
#include "cli/ExitCode.h"
#include "cli/GlobalOptions.h"
#include "cli/Interrupt.h"
#include "diagnostics/Debugdevice.h"
#include "midi/PortError.h"

namespace kelvora::cli {

namespace {

constexpr const char* kDescription =
    "kelvora-cli talks to an Ensoniq EPS, EPS-16 PLUS or ASR sampler through MIDI System "
    "Exclusive: it lists what the sampler holds, downloads wavesamples into WAV files, uploads "
    "audio files (several into one instrument as a multisample), renames, deletes and edits.";

constexpr const char* kFooter =
    "Slots are written I/L/W with the numbers the window shows: instrument 1-8, layer 1-8, "
    "wavesample 1-127 (3 is instrument 3, 3/1 its first layer, 3/1/2 wavesample 2 of "
    "instrument 3 in layer 1).\n"
    "Keys are MIDI numbers 0-127 or names such as C4, C#3, Db3, A-1; middle C is C4 = 60.\n"
    "Defaults for the device, channel and block size come from the window program's settings.\n"
    "\n"
    "Exit codes: 0 done, 1 failed, 2 bad usage, 3 no sampler answering, 4 refused (a plan that "
    "does not fit, an unreadable file), 130 interrupted (Ctrl+C).";

// The command line of the program, with every subcommand declared.
struct CommandLine {
  CLI::App app{kDescription, "kelvora-cli"};
  GlobalOptions options;
  std::vector<std::unique_ptr<Command>> commands = MakeCommands();

  CommandLine() {
    app.footer(kFooter);
    app.set_version_flag("--version", std::string("kelvora-cli ") + KELVORA_VERSION,
                         "Show the version and exit");
    app.require_subcommand(1);
    // Global options may also follow the subcommand.
    app.fallthrough();
    options.Declare(app);
    for (auto& command : commands) command->Declare(app);
  }

  Command* Chosen() {
    for (auto& command : commands) {
      if (command->Chosen()) return command.get();
    }
    return nullptr;
  }
};

// The sentence for a command line that cannot be used. A word that is no subcommand is left
// over while CLI11 complains that a subcommand is missing: name the word instead.
std::string Unusable(CommandLine& line, const CLI::ParseError& error) {
  const std::vector<std::string> left = line.app.remaining();
  if (line.app.get_subcommands().empty() && !left.empty()) {
    std::string names;
    for (const CLI::App* command : line.app.get_subcommands({})) {
      names += (names.empty() ? "" : ", ") + command->get_name();
    }
    return "'" + left.front() + "' is no subcommand; the subcommands are " + names + ".";
  }
  return std::string(error.what()) + " (kelvora-cli --help lists the options)";
}

// CLI11 reads a vector of arguments from its end.
int Parse(CommandLine& line, const std::vector<std::string>& arguments, Console& console) {
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    line.app.parse(reversed);
    return kExitDone;
  } catch (const CLI::CallForHelp&) {
    console.Line(line.app.help());
  } catch (const CLI::CallForAllHelp&) {
    console.Line(line.app.help("", CLI::AppFormatMode::All));
  } catch (const CLI::CallForVersion& version) {
    console.Line(version.what());
  } catch (const CLI::ParseError& error) {
    console.Error(Unusable(line, error));
    return kExitBadUsage;
  }
  return console.OutputFailed() ? kExitFailed : -1;
}

ConnectionOptions Connection(const GlobalOptions& options, const Defaults& defaults) {
  ConnectionOptions connection;
  connection.device = options.device;
  connection.in = options.in;
  connection.out = options.out;
  connection.defaultIn = defaults.midiIn;
  connection.defaultOut = defaults.midiOut;
  connection.channel = options.channel > 0 ? options.channel : defaults.channel;
  connection.blockSize = options.blockSize > 0 ? options.blockSize : defaults.blockSize;
  connection.delay = defaults.delay;
  connection.simState = options.simState.empty() ? defaults.simulatorState : options.simState;
  connection.simPaced = options.simPaced;
  return connection;
}

// The protocol trace goes to the debug log file while the command runs.
class Trace {
 public:
  Trace(bool on, Console& console) : on_(on) {
    if (!on_) return;
    device_.SetMedia(diagnostics::dmFile);
    device_.Open();
    diagnostics::DebugDevice = &device_;
    console.Note("The protocol trace goes to " + diagnostics::TDebugDevice::FilePath() + ".");
  }
  ~Trace() {
    if (!on_) return;
    diagnostics::DebugDevice = nullptr;
    device_.Close();
  }
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

 private:
  bool on_;
  diagnostics::TDebugDevice device_;
};

int RunChosen(Command& command, const GlobalOptions& options, const ProgramEnvironment& environment,
              Console& console) {
  const Interrupt interrupt;
  const Trace trace(options.verbose, console);
  ConsoleSessionUi ui;
  SamplerConnection connection(ui);
  connection.SetOptions(Connection(
      options,
      ReadDefaults(environment.settingsPath, connection.InputNames(), connection.OutputNames())));
  ConsoleProgress progress(console, environment.terminal);
  CommandContext context(console, progress, connection, ui);
  int exit = command.Run(context);
  if (Interrupt::Requested()) exit = kExitInterrupted;
  return exit;
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments, const ProgramEnvironment& environment) {
  Console console(environment.out, environment.err);
  CommandLine line;
  if (const int parsed = Parse(line, arguments, console); parsed != kExitDone) {
    return parsed < 0 ? kExitDone : parsed;
  }
  console.SetJson(line.options.json);
  console.SetQuiet(line.options.quiet);
  int exit = kExitFailed;
  try {
    exit = RunChosen(*line.Chosen(), line.options, environment, console);
  } catch (const midi::PortError& error) {
    console.Error(error.what());
  } catch (const std::exception& error) {
    console.Error(std::string("error: ") + error.what());
  }
  return console.OutputFailed() ? WorseExit(exit, kExitFailed) : exit;
}

std::string ProgramHelp() { return CommandLine().app.help(); }

}  // namespace kelvora::cli
