#include "support/CountingDriver.h"

namespace kelvora::testing {

int CountingDriver::OpenOutput(int device, int slot) {
  outputOpens.push_back(device);
  return DeviceList::OpenOutput(device, slot);
}

void CountingDriver::CloseOutput(int slot) {
  ++outputCloses;
  DeviceList::CloseOutput(slot);
}

int CountingDriver::OpenInput(int device, int slot) {
  inputOpens.push_back(device);
  return DeviceList::OpenInput(device, slot);
}

void CountingDriver::CloseInput(int slot) {
  ++inputCloses;
  DeviceList::CloseInput(slot);
}

void CountingDriver::Reset() {
  inputOpens.clear();
  outputOpens.clear();
  inputCloses = outputCloses = 0;
}

}  // namespace kelvora::testing
