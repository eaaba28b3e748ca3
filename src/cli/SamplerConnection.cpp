#include "cli/SamplerConnection.h"

#include "cli/ExitCode.h"
#include "midi/MidiSystem.h"

namespace kelvora::cli {

namespace {

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

const char* Direction(bool input) { return input ? "input" : "output"; }

std::string SimulatorName() { return sim::SimMidiDriver::DeviceName(sim::SimOptions{}.model); }

}  // namespace

SamplerConnection::SamplerConnection(ConsoleSessionUi& ui) : ui_(ui) {}

// The session's ports close while their driver is still installed; the simulated sampler goes
// last and saves its memory.
SamplerConnection::~SamplerConnection() {
  eps_.reset();
  if (devices_) midi::SetDriver(nullptr);
  devices_.reset();
  simulator_.reset();
}

const DeviceCatalog& SamplerConnection::Catalog() {
  if (!catalog_) {
    catalog_ = std::make_unique<DeviceCatalog>(alsa_.InputDevices(), alsa_.OutputDevices(),
                                               SimulatorName());
  }
  return *catalog_;
}

std::vector<std::string> SamplerConnection::InputNames() {
  std::vector<std::string> names;
  for (int i = 0, n = alsa_.InputCount(); i < n; ++i) names.push_back(alsa_.InputName(i));
  names.push_back(SimulatorName());
  return names;
}

std::vector<std::string> SamplerConnection::OutputNames() {
  std::vector<std::string> names;
  for (int i = 0, n = alsa_.OutputCount(); i < n; ++i) names.push_back(alsa_.OutputName(i));
  names.push_back(SimulatorName());
  return names;
}

int SamplerConnection::Open(std::string& message) {
  const std::string& in = options_.in.empty() ? options_.device : options_.in;
  const std::string& out = options_.out.empty() ? options_.device : options_.out;
  if (const int code = Choose(in, true, options_.defaultIn, input_, message)) return code;
  if (const int code = Choose(out, false, options_.defaultOut, output_, message)) return code;
  const DeviceRow& simulated = Catalog().Rows().back();
  if (input_ == simulated.input || output_ == simulated.output) {
    if (const int code = StartSimulator(message)) return code;
  }
  return Connect(message);
}

// The device a name picks, or the default number from the settings when none is named.
int SamplerConnection::Choose(const std::string& wanted, bool input, int fallback, int& index,
                              std::string& message) {
  const std::vector<DeviceRow>& rows = Catalog().Rows();
  if (wanted.empty()) {
    for (const DeviceRow& row : rows) {
      if ((input ? row.input : row.output) != fallback || fallback < 0) continue;
      index = fallback;
      (input ? inputName_ : outputName_) = row.name.Full();
      return kExitDone;
    }
    message = std::string("No MIDI ") + Direction(input) +
              " is chosen in the settings; name one with --device ('kelvora-cli devices' lists "
              "them).";
    return kExitBadUsage;
  }
  const midi::DeviceMatch match = Catalog().Find(wanted);
  if (!match.Found()) {
    message = match.error + " 'kelvora-cli devices' lists the devices.";
    return kExitBadUsage;
  }
  const DeviceRow& row = rows[static_cast<size_t>(match.index)];
  index = input ? row.input : row.output;
  if (index < 0) {
    message = "The MIDI device " + Quoted(row.name.Full()) + " is not a MIDI " + Direction(input) +
              "; name the " + Direction(input) + " with --" + (input ? "in" : "out") + ".";
    return kExitBadUsage;
  }
  (input ? inputName_ : outputName_) = row.name.Full();
  return kExitDone;
}

int SamplerConnection::StartSimulator(std::string& message) {
  sim::SimOptions options;
  options.stateFile = options_.simState;
  options.paced = options_.simPaced;
  simulator_ = std::make_unique<sim::SimMidiDriver>(options);
  simulator_->SetRecording(false);
  if (const std::string error = simulator_->Sampler().StateError(); !error.empty()) {
    message = "The simulated sampler cannot start from its state file " +
              Quoted(options_.simState) + ": " + error;
    return kExitFailed;
  }
  return kExitDone;
}

int SamplerConnection::Connect(std::string& message) {
  devices_ = std::make_unique<midi::DeviceList>(
      std::initializer_list<midi::MidiDriver*>{&alsa_, simulator_.get()});
  midi::SetDriver(devices_.get());
  eps_ = std::make_unique<protocol::TEps>(ui_);
  eps_->MidiIn->SetDeviceID(input_);
  eps_->MidiOut->SetDeviceID(output_);
  eps_->MidiOut->SetChannel(options_.channel);
  eps_->BlockSize = options_.blockSize;
  eps_->Delay = options_.delay;
  if (eps_->OpenDevices()) return kExitDone;
  const int reason = ui_.NoEpsReason();
  if (reason == protocol::nrMidiInFailed || reason == protocol::nrMidiOutFailed) {
    const bool input = reason == protocol::nrMidiInFailed;
    message = std::string("The MIDI ") + Direction(input) + " " +
              Quoted(input ? inputName_ : outputName_) + " could not be opened (error " +
              std::to_string(input ? eps_->MidiIn->ErrorCode() : eps_->MidiOut->ErrorCode()) + ").";
    return kExitFailed;
  }
  message = NoAnswerSentence(reason);
  return kExitNoSampler;
}

std::string SamplerConnection::NoAnswerSentence(int reason) const {
  std::string sentence = "No sampler answered on " + Where() + ".";
  if (reason == protocol::nrNoSystem) {
    sentence = "The sampler on " + Where() +
               " asked to wait and then fell silent; make sure its system disk is loaded.";
  } else if (simulator_ && options_.channel != simulator_->Sampler().Options().channel) {
    sentence += " The simulated sampler listens on MIDI channel " +
                std::to_string(simulator_->Sampler().Options().channel) + ".";
  } else {
    sentence += " Check the cables, the channel and that the sampler's MIDI SYS-EX is on.";
  }
  return sentence;
}

std::string SamplerConnection::Where() const {
  std::string where = Quoted(outputName_);
  if (inputName_ != outputName_) where = Quoted(inputName_) + " and " + where;
  return where + ", MIDI channel " + std::to_string(options_.channel);
}

}  // namespace kelvora::cli
