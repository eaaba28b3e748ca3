#include "kelvora-sim/OptionTable.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "kelvora-sim/ArgumentValues.h"
#include "sim/SamplerEngine.h"

namespace kelvora::simcli {

namespace {

constexpr const char* kWhere = "Where it listens";
constexpr const char* kSampler = "The sampler";
constexpr const char* kTiming = "Timing";
constexpr const char* kFaults =
    "Faults, for testing a host's error handling (counts run from the start)";

constexpr int64_t kMaxCount = 1000000;
constexpr int64_t kMaxMs = 600000;

template <class Field>
std::string SetNumber(const std::string& value, int64_t min, int64_t max, Field& field) {
  int64_t number = 0;
  std::string error = NumberInRange(value, min, max, number);
  if (error.empty()) field = static_cast<Field>(number);
  return error;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string SetMode(CliOptions& options, Mode mode) {
  if (options.mode != Mode::None && options.mode != mode) {
    return "choose one of --stdio and --alsa";
  }
  options.mode = mode;
  return {};
}

std::string SetModel(CliOptions& options, const std::string& value) {
  const std::string name = Lower(value);
  if (name == "eps") {
    options.sim.model = sim::SamplerModel::Eps;
  } else if (name == "eps16plus") {
    options.sim.model = sim::SamplerModel::Eps16Plus;
  } else if (name == "asr10") {
    options.sim.model = sim::SamplerModel::Asr10;
  } else {
    return "'" + value + "' is not eps, eps16plus or asr10";
  }
  return {};
}

std::string SetOverview(CliOptions& options, const std::string& value) {
  const std::string reading = Lower(value);
  if (reading == "half") {
    options.sim.overview = sim::OverviewReading::HalfRange;
  } else if (reading == "whole") {
    options.sim.overview = sim::OverviewReading::WholeRange;
  } else {
    return "'" + value + "' is not half or whole";
  }
  return {};
}

// TYPE=STATUS, repeatable: every command of TYPE is answered with STATUS.
std::string AddForcedStatus(CliOptions& options, const std::string& value) {
  std::string_view type, status;
  int64_t typeValue = 0, statusValue = 0;
  if (!SplitPair(value, type, status)) return "'" + value + "' is not TYPE=STATUS";
  if (std::string error = NumberInRange(type, 0, 0x7F, typeValue); !error.empty()) {
    return "command type " + error;
  }
  if (std::string error = NumberInRange(status, 0, 0xFFF, statusValue); !error.empty()) {
    return "status " + error;
  }
  options.faults.forcedStatus[static_cast<int>(typeValue)] = static_cast<int>(statusValue);
  return {};
}

std::string SetDropByte(CliOptions& options, const std::string& value) {
  if (options.faults.byteIndex >= 0 && !options.faults.dropByte) {
    return "choose one of --drop-byte and --replace-byte";
  }
  options.faults.dropByte = true;
  return SetNumber(value, 0, INT64_MAX, options.faults.byteIndex);
}

// INDEX=VALUE: the byte at INDEX of what the sampler sends becomes VALUE.
std::string SetReplaceByte(CliOptions& options, const std::string& value) {
  if (options.faults.byteIndex >= 0 && options.faults.dropByte) {
    return "choose one of --drop-byte and --replace-byte";
  }
  std::string_view index, replacement;
  if (!SplitPair(value, index, replacement)) return "'" + value + "' is not INDEX=VALUE";
  int64_t indexValue = 0, byteValue = 0;
  if (std::string error = NumberInRange(index, 0, INT64_MAX, indexValue); !error.empty()) {
    return "index " + error;
  }
  if (std::string error = NumberInRange(replacement, 0, 0xFF, byteValue); !error.empty()) {
    return "value " + error;
  }
  options.faults.byteIndex = indexValue;
  options.faults.dropByte = false;
  options.faults.replacementByte = static_cast<uint8_t>(byteValue);
  return {};
}

std::vector<OptionEntry> WhereOptions() {
  return {
      {kWhere, "--stdio", nullptr,
       "take the raw MIDI byte stream from standard input and write the\n"
       "sampler's bytes to standard output; ends at the end of the input",
       [](CliOptions& o, const std::string&) { return SetMode(o, Mode::Stdio); }},
      {kWhere, "--alsa", nullptr,
       "answer on a duplex port of an ALSA sequencer client of its own until\n"
       "interrupted",
       [](CliOptions& o, const std::string&) { return SetMode(o, Mode::Alsa); }},
      {kWhere, "--name", "NAME",
       "name of the ALSA client and port (default \"Simulated \" and the model,\n"
       "\"Simulated EPS-16 PLUS\")",
       [](CliOptions& o, const std::string& v) {
         o.portName = v;
         return v.empty() ? std::string("the name cannot be empty") : std::string();
       }},
      {kWhere, "--help", nullptr, "show this help and exit",
       [](CliOptions& o, const std::string&) {
         o.help = true;
         return std::string();
       }},
  };
}

std::vector<OptionEntry> SamplerOptions() {
  return {
      {kSampler, "--model", "MODEL", "eps, eps16plus or asr10 (default eps16plus)", &SetModel},
      {kSampler, "--channel", "N", "base MIDI channel 1..16 (default 1)",
       [](CliOptions& o, const std::string& v) { return SetNumber(v, 1, 16, o.sim.channel); }},
      {kSampler, "--memory", "WORDS",
       "sample memory in 16-bit words, K and M taken (default: the model's,\n"
       "256K on an EPS, 512K on an EPS-16 PLUS, 1M on an ASR-10)",
       [](CliOptions& o, const std::string& v) { return MemoryWords(v, o.sim.memoryWords); }},
      {kSampler, "--empty", nullptr, "start with an empty memory instead of the demo instruments",
       [](CliOptions& o, const std::string&) {
         o.sim.demoContent = false;
         return std::string();
       }},
      {kSampler, "--state", "FILE",
       "load the memory from FILE at start (when it exists) and save it there\n"
       "at exit",
       [](CliOptions& o, const std::string& v) {
         o.sim.stateFile = v;
         return v.empty() ? std::string("the file name cannot be empty") : std::string();
       }},
      {kSampler, "--overview", "READING",
       "how an overview cuts its range into 512 words: half (default;\n"
       "sections of (end - start) / 1024 from the start, as Kelvora's view\n"
       "asks) or whole (the maker's documented reading: 512 sections over the\n"
       "whole range)",
       &SetOverview},
  };
}

std::vector<OptionEntry> TimingOptions() {
  return {
      {kTiming, "--paced", nullptr, "take and send every byte at 31250 baud (320 us a byte)",
       [](CliOptions& o, const std::string&) {
         o.sim.paced = true;
         return std::string();
       }},
      {kTiming, "--command-latency", "US", "processing time of every command, in microseconds",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 0, kMaxMs * 1000, o.sim.commandLatencyUs);
       }},
      {kTiming, "--sample-latency", "NS",
       "processing time per sample edited or transferred, in nanoseconds",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 0, 1000000, o.sim.sampleLatencyNs);
       }},
      {kTiming, "--ack-timeout", "MS", "how long a GET waits for the host's ACK (default 2000)",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 1, kMaxMs, o.sim.ackTimeoutMs);
       }},
      {kTiming, "--min-block-gap", "MS",
       "answer SLOW DOWN (20) to a wavesample data block that follows the\n"
       "last one sooner",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 0, kMaxMs, o.sim.minBlockGapMs);
       }},
      {kTiming, "--wait-every", "SAMPLES",
       "send a WAIT per this many samples a long edit processes (default\n"
       "65536)",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 1, sim::kMaxMemoryWords, o.sim.waitEverySamples);
       }},
  };
}

std::vector<OptionEntry> FaultOptions() {
  return {
      {kFaults, "--silent", "N", "lose the first N SysEx messages for the sampler: no answer",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 0, kMaxCount, o.faults.silentMessages);
       }},
      {kFaults, "--waits", "N", "send N WAIT responses before the answer to the first command",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 0, kMaxCount, o.faults.waitsBeforeAnswer);
       }},
      {kFaults, "--slow-down", nullptr,
       "answer every wavesample data block with SLOW DOWN (20) once; take it\n"
       "when it is sent again",
       [](CliOptions& o, const std::string&) {
         o.faults.slowDownEveryBlock = true;
         return std::string();
       }},
      {kFaults, "--force-status", "TYPE=STATUS",
       "answer every command of TYPE (such as 0x40) with STATUS and do\n"
       "nothing else; may be given for several types",
       &AddForcedStatus},
      {kFaults, "--wrong-channel", "N", "send the first N messages on the next channel up",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 0, kMaxCount, o.faults.wrongChannelMessages);
       }},
      {kFaults, "--drop-byte", "INDEX",
       "leave out the byte at INDEX of everything the sampler sends (0 is the\n"
       "first)",
       &SetDropByte},
      {kFaults, "--replace-byte", "INDEX=VALUE", "send VALUE instead of the byte at INDEX",
       &SetReplaceByte},
      {kFaults, "--overlong-data", "WORDS",
       "the first wavesample data the sampler sends is WORDS words from the\n"
       "start asked for",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 1, sim::kMaxMemoryWords, o.faults.overlongDataWords);
       }},
      {kFaults, "--cut-after", "BYTES",
       "the first message longer than BYTES stops after them, without its F7",
       [](CliOptions& o, const std::string& v) {
         return SetNumber(v, 0, INT_MAX, o.faults.cutMessageAfter);
       }},
  };
}

std::vector<OptionEntry> AllOptions() {
  std::vector<OptionEntry> table;
  for (auto group : {WhereOptions, SamplerOptions, TimingOptions, FaultOptions}) {
    const std::vector<OptionEntry> options = group();
    table.insert(table.end(), options.begin(), options.end());
  }
  return table;
}

}  // namespace

const std::vector<OptionEntry>& OptionTable() {
  static const std::vector<OptionEntry> table = AllOptions();
  return table;
}

}  // namespace kelvora::simcli
