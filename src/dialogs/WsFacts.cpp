#include "dialogs/WsFacts.h"

#include <algorithm>

#include "dialogs/KeyName.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::dialogs {

using namespace protocol;

namespace {

constexpr const char* kModeNames[] = {"Forward - No Loop", "Backward - No Loop", "Loop Forward",
                                      "Loop Bidirectional", "Loop and Release"};
constexpr int kModeStep = 0x100;
constexpr int kModeCount = 5;

int HighByte(int word) { return (word >> 8) & 0xFF; }

}  // namespace

int WsFacts::Length() const { return std::max(sampleEnd - sampleStart, 0); }

double WsFacts::Seconds() const { return rate > 0 ? static_cast<double>(Length()) / rate : 0.0; }

bool WsFacts::LoopOn() const { return mode != kForwardNoLoop && mode != kBackwardNoLoop; }

WsFacts FactsOf(const int* record) {
  WsFacts facts;
  facts.name = QString::fromStdString(DecodeName(record));
  facts.sampleStart = GetPosition(record, kWsSampleStart);
  facts.sampleEnd = GetPosition(record, kWsSampleEnd);
  facts.loopStart = GetPosition(record, kWsLoopStart);
  facts.loopEnd = GetPosition(record, kWsLoopEnd);
  facts.rate = SampleRateFromCode(record[kWsRate]);
  facts.rootKey = HighByte(record[kWsRootKey]);
  facts.lowKey = HighByte(record[kWsLowKey]);
  facts.highKey = HighByte(record[kWsHighKey]);
  facts.mode = record[kWsPlaybackMode];
  facts.copyOf = HighByte(record[kWsCopySource]);
  return facts;
}

QString PlaybackModeName(int modeWord) {
  if (modeWord >= 0 && modeWord % kModeStep == 0 && modeWord / kModeStep < kModeCount)
    return QString::fromLatin1(kModeNames[modeWord / kModeStep]);
  return QStringLiteral("Mode 0x%1").arg(modeWord, 0, 16);
}

QString LengthText(const WsFacts& facts) {
  const int length = facts.Length();
  return QStringLiteral("%1 %2 (%3 s)")
      .arg(length)
      .arg(length == 1 ? QStringLiteral("sample") : QStringLiteral("samples"))
      .arg(facts.Seconds(), 0, 'f', 3);
}

QString KeyRangeText(const WsFacts& facts) {
  if (facts.lowKey == facts.highKey) return KeyName(facts.lowKey);
  return KeyName(facts.lowKey) + QChar(0x2013) + KeyName(facts.highKey);
}

QString DetailText(const WsFacts& facts) {
  QString text =
      QStringLiteral("%1, %2 Hz, root %3, %4, %5")
          .arg(LengthText(facts))
          .arg(facts.rate)
          .arg(KeyName(facts.rootKey), KeyRangeText(facts), PlaybackModeName(facts.mode));
  if (facts.copyOf != 0) text += QStringLiteral(", copy of %1").arg(facts.copyOf);
  return text;
}

}  // namespace kelvora::dialogs
