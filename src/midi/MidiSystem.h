#pragma once

#include "midi/DeviceList.h"
#include "midi/MidiDriver.h"

namespace kelvora::midi {

// System error codes the program's own drivers return (the values the platform's MIDI
// services use for the same failures).
constexpr int kErrorBadDevice = 2;      // no device with that number
constexpr int kErrorAllocated = 4;      // the device is already open
constexpr int kErrorInvalidHandle = 5;  // the slot is not open on this driver

// The driver the ports open devices on. Until one is installed: a driver with no devices,
// whose opens fail with kErrorBadDevice.
MidiDriver& CurrentDriver();
// Installs `driver` for the whole process (not owned); nullptr restores the empty driver.
// Ports keep the driver they opened a slot on until they close it.
void SetDriver(MidiDriver* driver);

}  // namespace kelvora::midi
