#include "support/NoHardwareMachine.h"

namespace kelvora::testing {

NoHardwareMachine::NoHardwareMachine(const sim::SimOptions& options)
    : sampler_(options), devices_({&hardware_, &sampler_}), useDevices_(devices_) {}

}  // namespace kelvora::testing
