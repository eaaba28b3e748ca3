#pragma once

#include <QString>

namespace kelvora::dialogs {

// What a wavesample parameter record says about the wavesample, as the browser's lines and the
// main window's info strip show it.
struct WsFacts {
  QString name;
  int sampleStart = 0;
  int sampleEnd = 0;
  int loopStart = 0;
  int loopEnd = 0;
  int rate = 0;  // Hz
  int rootKey = 60;
  int lowKey = 21;
  int highKey = 108;
  int mode = 0;    // the playback mode word, 0x000 .. 0x400
  int copyOf = 0;  // the wavesample whose data it plays; 0 when it holds its own

  // Samples from the sample start to the sample end, never negative.
  int Length() const;
  double Seconds() const;
  bool LoopOn() const;
};

WsFacts FactsOf(const int* wsRecord);

// "Loop Forward"; a word that is none of the five modes reads "Mode 0x500".
QString PlaybackModeName(int modeWord);
// "4400 samples (0.100 s)", "1 sample (0.000 s)".
QString LengthText(const WsFacts& facts);
// "A0\u2013E4"; one key alone when low and high are the same.
QString KeyRangeText(const WsFacts& facts);
// The details of a browser line: "4400 samples (0.100 s), 44100 Hz, root A4, A0–E4, Loop
// Forward", and ", copy of 1" for a parameters-only copy.
QString DetailText(const WsFacts& facts);

}  // namespace kelvora::dialogs
