#include "kelvora-sim/SamplerHost.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "kelvora-sim/Report.h"

namespace kelvora::simcli {

SamplerHost::SamplerHost(const CliOptions& options, sim::SimulatedSampler::Output output)
    : options_(options), output_(std::move(output)) {}

SamplerHost::~SamplerHost() { Stop(); }

bool SamplerHost::Start() {
  if (sampler_) return true;
  if (!CheckStateDirectory()) return false;
  auto sampler = std::make_unique<sim::SimulatedSampler>(options_.sim, output_);
  if (const std::string error = sampler->StateError(); !error.empty()) {
    Report("cannot read the state file " + options_.sim.stateFile + ": " + error +
           " (the file is left as it is)");
    return false;  // the sampler saves nothing over a file it could not read
  }
  sampler->SetFaults(options_.faults);
  sampler->Start();
  sampler_ = std::move(sampler);
  return true;
}

// A whole session's work would be lost at exit if the state could not be saved, so a place it
// cannot be saved in is refused before the sampler starts.
bool SamplerHost::CheckStateDirectory() const {
  const std::string& file = options_.sim.stateFile;
  if (file.empty()) return true;
  std::filesystem::path directory = std::filesystem::path(file).parent_path();
  if (directory.empty()) directory = ".";
  if (access(directory.c_str(), W_OK) == 0) return true;
  Report("cannot save the state file " + file + " in " + directory.string() + ": " +
         std::strerror(errno));
  return false;
}

void SamplerHost::Receive(const uint8_t* data, size_t size) {
  if (sampler_) sampler_->Receive(data, size);
}

void SamplerHost::ReceiveShort(uint32_t packed) {
  if (sampler_) sampler_->ReceiveShort(packed);
}

bool SamplerHost::WaitIdle(std::chrono::milliseconds limit) {
  return !sampler_ || sampler_->WaitIdle(limit);
}

bool SamplerHost::Stop() {
  if (!sampler_) return true;
  sampler_->Stop();
  const std::string error = sampler_->StateError();
  const int64_t ignored = sampler_->Log().Ignored();
  sampler_.reset();
  if (ignored > 0) {
    Report(std::to_string(ignored) +
           " message(s) ignored: not for this sampler, not understood or lost to a fault");
  }
  if (error.empty()) return true;
  Report("cannot save the state file " + options_.sim.stateFile + ": " + error);
  return false;
}

}  // namespace kelvora::simcli
