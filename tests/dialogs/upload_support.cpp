#include "upload_support.h"

#include <QFile>
#include <QtEndian>
#include <QtTest>

namespace kelvora::dialogs::test {

void WriteWav(const QString& path, int channels, int bits, quint32 rate, int rootKey) {
  const quint32 blockAlign = quint32(channels * bits / 8);
  const quint32 dataSize = 100 * blockAlign;
  QByteArray bytes;
  auto put32 = [&](quint32 v) {
    bytes.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 4);
  };
  auto put16 = [&](quint16 v) {
    bytes.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 2);
  };
  const quint32 smplSize = rootKey >= 0 ? 8 + 36 : 0;
  bytes.append("RIFF");
  put32(36 + dataSize + smplSize);
  bytes.append("WAVEfmt ");
  put32(16);
  put16(1);
  put16(quint16(channels));
  put32(rate);
  put32(rate * blockAlign);
  put16(quint16(blockAlign));
  put16(quint16(bits));
  bytes.append("data");
  put32(dataSize);
  bytes.append(QByteArray(int(dataSize), '\0'));
  if (rootKey >= 0) {
    bytes.append("smpl");
    put32(36);
    for (quint32 field : {0u, 0u, 1000000000u / rate, quint32(rootKey), 0u, 0u, 0u, 0u, 0u})
      put32(field);
  }
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace kelvora::dialogs::test
