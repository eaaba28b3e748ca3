#pragma once

#include <string>

#include "transfer/FrameConversion.h"

namespace kelvora::transfer {

// Which key range the uploaded wavesample gets.
enum class KeyRangeMode {
  Full,    // the record's default range; nothing is sent
  Root,    // the root key alone
  Custom,  // LoKey..HiKey
};

// What the upload dialog hands the upload: the target and how the file becomes a wavesample.
struct UploadChoices {
  int instrument = 0;  // 0..7
  int layer = 0;       // 0..7
  int waveSample = 1;  // 1..127
  int rootKey = 60;    // MIDI keys 0..127
  int loKey = 21;
  int hiKey = 108;
  KeyRangeMode range = KeyRangeMode::Full;
  int channelMode = fcMono;  // fcLeft, fcRight, fcMono or fcChannel; mono files ignore it
  int channel = 0;           // with fcChannel: the channel taken, from 0
  // The wavesample's name; empty keeps the default record's "UNNAMED WS".
  std::string waveSampleName;
};

// Empty when the choices can be sent; otherwise what is out of range, for a person.
std::string ChoicesRefusal(const UploadChoices& choices);

}  // namespace kelvora::transfer
