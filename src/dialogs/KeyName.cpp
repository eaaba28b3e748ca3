#include "dialogs/KeyName.h"

namespace kelvora::dialogs {

QString KeyName(int note) {
  static constexpr char kLetters[] = "CCDDEFFGGAAB";
  static constexpr bool kBlack[12] = {false, true,  false, true,  false, false,
                                      true,  false, true,  false, true,  false};
  const int m = note - 12;
  // Floor division, so that notes below 12 still get a letter and a (negative) octave.
  const int octave = m >= 0 ? m / 12 : -((11 - m) / 12);
  const int step = m - octave * 12;
  QString name = QChar::fromLatin1(kLetters[step]) + QString::number(octave);
  if (kBlack[step]) name += QLatin1Char('+');
  return name;
}

}  // namespace kelvora::dialogs
