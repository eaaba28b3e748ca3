#pragma once

// The sampler's parameter records as the program sees them: arrays of int, one per 16-bit
// parameter word as decoded from W16. Most words carry an 8-bit value in their high byte.
namespace kelvora::protocol {

// Record sizes in words.
constexpr int kWsRecordWords = 139;
constexpr int kInstrRecordWords = 323;
constexpr int kLayerRecordWords = 107;

// Names: 12 characters, one per word in the high byte, in every record.
constexpr int kNameWord = 0;
constexpr int kNameLength = 12;

// Instrument record: layer n is in use when word 45 + 2n or 46 + 2n is nonzero; wavesample k + 1
// is in use when word 63 + 2k or 64 + 2k is nonzero.
constexpr int kInstrLayerWords = 45;
constexpr int kInstrWsWords = 63;

// Layer record: one wavesample number per key in the high byte of words 19..106.
constexpr int kLayerMapFirst = 19;
constexpr int kLayerMapLast = 106;

// Wavesample record.
constexpr int kWsCopySource = 12;        // high byte: wavesample whose data is shared; 0 = none
constexpr int kWsRootKey = 80;           // high byte: MIDI key
constexpr int kWsWord82 = 82;            // set to 0 by an upload that carries loop data
constexpr int kWsChannelPosition = 105;  // low byte: signed pan position
constexpr int kWsPlaybackMode = 114;     // high byte: 0..4
constexpr int kWsSampleStart = 115;      // position fields, four words each
constexpr int kWsSampleEnd = 119;
constexpr int kWsLoopStart = 123;
constexpr int kWsLoopEnd = 127;
constexpr int kWsRate = 131;     // high byte: rate code
constexpr int kWsLowKey = 132;   // high byte: MIDI key
constexpr int kWsHighKey = 133;  // high byte: MIDI key
// Written by an upload that carries loop data; not read anywhere else.
constexpr int kWsWord134 = 134;
constexpr int kWsWord135 = 135;
constexpr int kWsWord137 = 137;

// Playback modes as word 114 holds them.
enum PlaybackMode {
  kForwardNoLoop = 0x000,
  kBackwardNoLoop = 0x100,
  kLoopForward = 0x200,
  kLoopBidirectional = 0x300,
  kLoopAndRelease = 0x400,
};

// A position field stores position × 512 as a 32-bit number spread over the high bytes of four
// words, so positions range over 0..2^23 - 1.
constexpr int kMaxPosition = 8388607;

// index is 115, 119, 123 or 127. Only the high byte of each word counts; the fraction of a sample
// below the lowest 9 bits is dropped.
int GetPosition(const int* record, int index);
// Writes the four words; a position outside 0..kMaxPosition is clamped into it rather than
// wrapped into an unrelated position.
void SetPosition(int* record, int index, int position);

// The key that auditions a wavesample: its root key limited to its key range, and to the MIDI
// key range 0..127 so that a damaged record never yields a status byte.
int AuditionKey(const int* record);

// Word 131 to Hz: code 0 is 48000, 1 is 44100, any other n is 625000 / n (integer division).
int SampleRateFromCode(int rateWord);
// Hz to word 131. 44100 and 48000 have their own codes; any other rate becomes 625000 / hz,
// kept within 2..255 so that it fits the high byte and never reads back as one of the two
// special rates. A rate of 0 Hz or less has no period: it gives the default record's code 21
// (29761 Hz).
int RateWordForSampleRate(int hz);

// Word 105's low byte, signed: -127 is full left, 127 full right. The high byte is kept.
int ChannelPosition(const int* record);
void SetChannelPosition(int* record, int position);

// The wavesample record an upload starts from: "UNNAMED WS  ", no copy, root key 60, forward
// without loop, all positions 0, rate code 21, key range 21..108.
extern const int kDefaultWsParams[kWsRecordWords];
void ResetWsParams(int* record);

}  // namespace kelvora::protocol
