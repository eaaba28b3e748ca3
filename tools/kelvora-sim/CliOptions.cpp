#include "kelvora-sim/CliOptions.h"

#include <cstring>

#include "kelvora-sim/OptionTable.h"
#include "sim/SimMidiDriver.h"

namespace kelvora::simcli {

namespace {

constexpr size_t kHelpColumn = 30;
constexpr size_t kHelpWidth = 99;

const OptionEntry* FindOption(const std::string& name) {
  for (const OptionEntry& entry : OptionTable()) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

// Takes the option at arguments[index] and its value; moves index past what it used.
std::string TakeOption(const std::vector<std::string>& arguments, size_t& index,
                       CliOptions& options) {
  const std::string& argument = arguments[index++];
  const size_t equals = argument.find('=');
  const std::string name = argument.substr(0, equals);
  const OptionEntry* entry = FindOption(name);
  if (!entry) {
    return argument.rfind("--", 0) == 0 ? "unknown option " + name
                                        : "unexpected argument '" + argument + "'";
  }
  std::string value;
  if (!entry->valueName) {
    if (equals != std::string::npos) return name + " takes no value";
  } else if (equals != std::string::npos) {
    value = argument.substr(equals + 1);
  } else if (index < arguments.size()) {
    value = arguments[index++];
  } else {
    return name + " needs " + entry->valueName;
  }
  std::string error = entry->apply(options, value);
  return error.empty() ? error : name + ": " + error;
}

// What no single option can see: the options as a whole.
std::string CheckTogether(const CliOptions& options) {
  if (options.mode == Mode::None) return "choose --stdio or --alsa";
  if (options.mode == Mode::Stdio && !options.portName.empty()) {
    return "--name is for --alsa only";
  }
  return sim::CheckOptions(options.sim);
}

// Breaks text into lines of at most `width` characters, each but the first indented.
std::string Wrapped(const std::string& text, size_t indent, size_t width) {
  std::string result, line;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      result += line + "\n" + std::string(indent, ' ');
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return result + line;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  ParseResult result;
  for (size_t index = 0; index < arguments.size();) {
    result.error = TakeOption(arguments, index, result.options);
    if (!result.error.empty()) return result;
  }
  if (!result.options.help) result.error = CheckTogether(result.options);
  return result;
}

std::string PortName(const CliOptions& options) {
  return options.portName.empty() ? sim::SimMidiDriver::DeviceName(options.sim.model)
                                  : options.portName;
}

std::string HelpText() {
  std::string text =
      "Usage: kelvora-sim --stdio|--alsa [options]\n"
      "A simulated Ensoniq EPS, EPS-16 PLUS or ASR-10 sampler that answers the sampler's MIDI\n"
      "System Exclusive protocol. Messages go to standard error; exit code 0 when it ended\n"
      "cleanly, 1 when it could not run or save its state, 2 for bad options.\n";
  const char* group = nullptr;
  for (const OptionEntry& entry : OptionTable()) {
    if (!group || std::strcmp(group, entry.group) != 0) {
      group = entry.group;
      text += std::string("\n") + group + ":\n";
    }
    std::string left = std::string("  ") + entry.name;
    if (entry.valueName) left += std::string(" ") + entry.valueName;
    left += std::string(left.size() < kHelpColumn ? kHelpColumn - left.size() : 1, ' ');
    text += left + Wrapped(entry.help, kHelpColumn, kHelpWidth - kHelpColumn) + "\n";
  }
  return text;
}

}  // namespace kelvora::simcli
