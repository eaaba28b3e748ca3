#include "kelvora-sim/CliOptions.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "kelvora-sim/HelpFormatter.h"
#include "kelvora-sim/OptionTable.h"
#include "sim/SimMidiDriver.h"

namespace kelvora::simcli {

namespace {

constexpr const char* kProgram = "kelvora-sim";
constexpr const char* kSynopsis = "--stdio|--alsa [options]";
constexpr const char* kDescription =
    "A simulated Ensoniq EPS, EPS-16 PLUS or ASR-10 sampler that answers the sampler's MIDI\n"
    "System Exclusive protocol. Messages go to standard error; exit code 0 when it ended\n"
    "cleanly, 1 when it could not run or save its state, 2 for bad options.\n";

// An argument that is no option of the program, named as kelvora-sim names it.
std::string Unknown(const std::string& argument) {
  if (argument.rfind("--", 0) == 0)
    return "unknown option " + argument.substr(0, argument.find('='));
  return "unexpected argument '" + argument + "'";
}

// Options are applied as they are read, so the first argument that cannot be used is the one
// reported: an option after an unknown argument is not applied, and a refusal ends the parse.
void Take(const CLI::App& app, const OptionEntry& entry, CliOptions& options,
          const std::string& value) {
  // remaining(), not remaining_size(): the latter leaves out a "--".
  if (const auto unknown = app.remaining(); !unknown.empty()) {
    throw CLI::ValidationError(Unknown(unknown.front()));
  }
  if (const std::string error = entry.apply(options, value); !error.empty()) {
    throw CLI::ValidationError(std::string(entry.name) + ": " + error);
  }
}

void Declare(CLI::App& app, const OptionEntry& entry, CliOptions& options) {
  CLI::Option* option = nullptr;
  if (entry.valueName) {
    const auto take = [&app, &entry, &options](const std::string& value) {
      Take(app, entry, options, value);
    };
    option = app.add_option_function<std::string>(entry.name, take, entry.help);
    option->type_name(entry.valueName);
  } else {
    const auto take = [&app, &entry, &options] { Take(app, entry, options, {}); };
    option = app.add_flag_callback(entry.name, take, entry.help)->disable_flag_override();
  }
  option->group(entry.group)->trigger_on_parse();
}

// The program's command line, its options writing into `options`. No help flag of CLI11's own:
// --help is one of the program's options. Arguments after the first one that is neither an
// option nor a value are left unread.
void Describe(CLI::App& app, CliOptions& options) {
  app.set_help_flag();
  app.allow_extras();
  app.prefix_command();
  app.formatter(std::make_shared<HelpFormatter>(kSynopsis));
  for (const OptionEntry& entry : OptionTable()) Declare(app, entry, options);
}

// CLI11's own refusals, a value missing after an option or one given to an option that takes
// none, said as kelvora-sim says them. CLI11's message begins with the option's name.
std::string Mismatch(const CLI::ArgumentMismatch& error) {
  const std::string what = error.what();
  for (const OptionEntry& entry : OptionTable()) {
    const std::string name = entry.name;
    if (entry.valueName && what.rfind(name + ":", 0) == 0) {
      return name + " needs " + entry.valueName;
    }
    if (!entry.valueName && what.rfind(name.substr(2) + " ", 0) == 0) {
      return name + " takes no value";
    }
  }
  return what;
}

// What no single option can see: the options as a whole.
std::string CheckTogether(const CliOptions& options) {
  if (options.mode == Mode::None) return "choose --stdio or --alsa";
  if (options.mode == Mode::Stdio && !options.portName.empty()) {
    return "--name is for --alsa only";
  }
  return sim::CheckOptions(options.sim);
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  ParseResult result;
  CLI::App app(kDescription, kProgram);
  Describe(app, result.options);
  try {
    // CLI11 takes the arguments from the end of the vector.
    app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
    if (const auto unknown = app.remaining(); !unknown.empty())
      result.error = Unknown(unknown.front());
  } catch (const CLI::ArgumentMismatch& error) {
    result.error = Mismatch(error);
  } catch (const CLI::ParseError& error) {
    result.error = error.what();
  }
  if (result.error.empty() && !result.options.help) result.error = CheckTogether(result.options);
  return result;
}

std::string PortName(const CliOptions& options) {
  return options.portName.empty() ? sim::SimMidiDriver::DeviceName(options.sim.model)
                                  : options.portName;
}

std::string HelpText() {
  CliOptions unused;
  CLI::App app(kDescription, kProgram);
  Describe(app, unused);
  return app.help();
}

}  // namespace kelvora::simcli
