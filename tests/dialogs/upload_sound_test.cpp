// The upload dialog's side of audio import: the file's format and channels, the rate chooser and
// what it costs, Send samples unchanged, what Audition plays and what OK hands over, and the
// formats Select... offers.

#include <sndfile.h>
#include <QAudioDevice>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "dialogs/Audition.h"
#include "dialogs/UploadForm.h"
#include "dialogs/UploadSoundBox.h"
#include "support/WindowTest.h"
#include "upload_support.h"

using kelvora::dialogs::TUploadForm;
using namespace kelvora::dialogs::test;

namespace {

// An audio file written by libsndfile: `frames` frames of `channels` channels, value(k, c) the
// 16-bit sample of frame k in channel c.
void WriteSound(const QString& path, int format, int rate, int channels, int frames,
                const std::function<int(int, int)>& value) {
  std::vector<int> samples;
  for (int k = 0; k < frames; ++k) {
    for (int c = 0; c < channels; ++c) samples.push_back(value(k, c) * 65536);
  }
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
  QVERIFY2(file != nullptr, sf_strerror(nullptr));
  const sf_count_t written = sf_writef_int(file, samples.data(), frames);
  sf_close(file);
  QCOMPARE(written, sf_count_t(frames));
}

// The source's words to its end.
std::vector<int> AllWords(kelvora::transfer::UploadSource& source) {
  std::vector<int> words(size_t(source.FrameCount()));
  int done = 0;
  for (int got = 1; got > 0 && done < int(words.size()); done += got) {
    got = source.Fill(words.data() + done, int(words.size()) - done);
    if (got < 0) return {};
  }
  words.resize(size_t(done));
  return words;
}

}  // namespace

class UploadSoundTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void auditionTellsWhyItCannotPlay() {
    Upload u;
    QString text;
    ModalWatch<QMessageBox> box([&](QMessageBox* b) {
      text = b->windowTitle() + ": " + b->text();
      b->accept();
    });
    u.Run(u.File("gone.wav"), [&] {
      u.form.AuditButton->click();
      u.form.Button3->click();
    });
    QCOMPARE(text, "File open error: File '" + QDir::toNativeSeparators(u.File("gone.wav")) +
                       "' does not exist.");
    if (!QMediaDevices::audioOutputs().isEmpty()) QSKIP("this machine has a sound device");
    text.clear();
    ModalWatch<QMessageBox> noDevice([&](QMessageBox* b) {
      text = b->windowTitle() + ": " + b->text();
      b->accept();
    });
    u.Run(u.File("mono.wav"), [&] { u.form.AuditButton->click(); });
    QVERIFY2(text.startsWith("Audition: ") && text.contains("no sound output device"),
             qPrintable(text));
  }

  void aFileOfManyChannelsOffersEachOfThemAndTellsItsFormat() {
    Upload u;
    WriteWav(u.File("three.wav"), 3, 24);
    QString format, plan;
    bool channelOffered = false;
    const int result = u.Run(u.File("three.wav"), [&] {
      format = u.form.SoundBox->FormatLabel->text();
      plan = u.form.SoundBox->PlanLabel->text();
      channelOffered = u.ChannelsEnabled() && u.form.ChannelRadio->isEnabled() &&
                       u.form.ChannelSpinBox->maximum() == 3;
      u.form.ChannelRadio->click();
      u.form.ChannelSpinBox->setValue(3);
      u.Name("stereo.wav");  // two channels: no channel by number
      QVERIFY(!u.form.ChannelRadio->isEnabled() && u.form.MonoRadio->isChecked());
      u.Name("three.wav");
      u.form.ChannelRadio->click();
      u.form.ChannelSpinBox->setValue(3);
      u.form.UploadButton->click();
    });
    QCOMPARE(result, 1);
    QCOMPARE(format, QString("24-bit WAV, 44100 Hz, 3 channels, 0.0 s"));
    QCOMPARE(plan, QString("44100 Hz, plays at pitch; 1 block of memory, under 1 s on the wire"));
    QVERIFY(channelOffered);
    const auto choices = u.form.Choices();
    QCOMPARE(std::make_pair(choices.channelMode, choices.channel), std::make_pair(4, 2));
  }

  void theRateChooserAndTheUnchangedOptionSayWhatWillHappen() {
    Upload u;
    WriteWav(u.File("22k.wav"), 1, 16, 22050, 57);
    QString first, atPitch, unchanged, slower;
    bool chooserOffWhenUnchanged = false;
    u.Run(u.File("22k.wav"), [&] {
      first = u.form.SoundBox->RateComboBox->itemText(0);
      atPitch = u.form.SoundBox->PlanLabel->text();
      u.form.SoundBox->UnchangedCheckBox->click();
      unchanged = u.form.SoundBox->PlanLabel->text();
      chooserOffWhenUnchanged = !u.form.SoundBox->RateComboBox->isEnabled();
      u.form.SoundBox->UnchangedCheckBox->click();
      QComboBox* rates = u.form.SoundBox->RateComboBox;
      rates->setCurrentIndex(rates->findText("15625 Hz"));
      Q_EMIT rates->activated(rates->currentIndex());
      slower = u.form.SoundBox->PlanLabel->text();
      u.form.Button3->click();
    });
    QCOMPARE(first, QString("22321 Hz (default)"));
    QVERIFY2(atPitch.startsWith(QString("22050 Hz \u2192 22321 Hz, plays at pitch; 1 block")),
             qPrintable(atPitch));
    QVERIFY2(unchanged.startsWith("22050 Hz sent as 22321 Hz, plays 21 cents sharp"),
             qPrintable(unchanged));
    QVERIFY(chooserOffWhenUnchanged);
    QVERIFY2(slower.startsWith(QString("22050 Hz \u2192 15625 Hz, plays at pitch")),
             qPrintable(slower));
    // The root key of the file's smpl chunk became the dialog's.
    QCOMPARE(u.form.RootKeyComboBox->currentText(), QString("A3"));
  }

  void auditionPlaysWhatTheUploadWouldSend() {
    Upload u;
    WriteWav(u.File("22k.wav"), 2, 16, 22050);
    ModalWatch<QMessageBox> box([](QMessageBox* b) { b->accept(); });
    u.Run(u.File("22k.wav"), [&] {
      u.form.LeftRadio->click();
      u.form.AuditButton->click();
      u.form.Button3->click();
    });
    const QString played = u.form.Audition->LastPath();
    QVERIFY2(played.endsWith("audition.wav"), qPrintable(played));
    QFile rendered(played);
    QVERIFY(rendered.open(QIODevice::ReadOnly));
    const QByteArray header = rendered.read(44);
    QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 22), quint16(1));  // mono
    QCOMPARE(qFromLittleEndian<quint32>(header.constData() + 24), quint32(22321));
    QCOMPARE(qFromLittleEndian<quint32>(header.constData() + 40), quint32(2 * 101));
  }

  // A 24-bit FLAC at 96 kHz, its left channel silent and its right a 1 kHz tone: the dialog
  // tells its format and the default target, a slower target halves the memory, and OK hands
  // over a source of the chosen rate and channel.
  void okHandsOverTheSourceOfTheChosenRateAndChannel() {
    Upload u;
    const QString flac = u.File("tone.flac");
    WriteSound(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 2, 48000, [](int k, int c) {
      return c == 0 ? 0 : int(std::lround(16000 * std::sin(2 * std::numbers::pi * k / 96)));
    });
    QString format, first, atDefault, atSlower;
    const int result = u.Run(flac, [&] {
      format = u.form.SoundBox->FormatLabel->text();
      QComboBox* rates = u.form.SoundBox->RateComboBox;
      first = rates->itemText(0);
      atDefault = u.form.SoundBox->PlanLabel->text();
      rates->setCurrentIndex(rates->findText("24038 Hz"));  // 625000 / 26
      Q_EMIT rates->activated(rates->currentIndex());
      atSlower = u.form.SoundBox->PlanLabel->text();
      u.form.RightRadio->click();
      u.form.UploadButton->click();
    });
    QCOMPARE(result, 1);
    QCOMPARE(format, QString("24-bit FLAC, 96000 Hz, stereo, 0.5 s"));
    QCOMPARE(first, QString("48000 Hz (default)"));
    QVERIFY2(atDefault.startsWith(QString("96000 Hz \u2192 48000 Hz, plays at pitch; 94 blocks")),
             qPrintable(atDefault));
    QVERIFY2(atSlower.startsWith(QString("96000 Hz \u2192 24038 Hz, plays at pitch; 47 blocks")),
             qPrintable(atSlower));
    QVERIFY2(atSlower.endsWith("on the wire"), qPrintable(atSlower));
    QCOMPARE(u.form.Choices().channelMode, 2);
    const std::unique_ptr<kelvora::transfer::UploadSource> source = u.form.TakeSource();
    QVERIFY(source != nullptr);
    QCOMPARE(source->RateWord() >> 8, 26);
    QVERIFY2(std::abs(source->FrameCount() - 12019) <= 2,
             qPrintable(QString::number(source->FrameCount())));
    const std::vector<int> words = AllWords(*source);
    QCOMPARE(int(words.size()), source->FrameCount());
    int peak = 0;
    for (int word : words) peak = std::max(peak, std::abs(int16_t(word)));
    QVERIFY2(peak > 15000 && peak < 16500, qPrintable(QString::number(peak)));  // the tone
  }

  // A 22050 Hz WAV is resampled to 22321 Hz by default; with Send samples unchanged OK hands over
  // the file's own samples, word for word, at the rate word the sampler rounds 22050 Hz to.
  void sendSamplesUnchangedHandsOverTheFilesOwnWords() {
    Upload u;
    const QString wav = u.File("ramp.wav");
    auto ramp = [](int k, int) { return (k * 397) % 4001 - 2000; };
    WriteSound(wav, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, 300, ramp);
    bool resampledFirst = false, specifiedUnchanged = false;
    u.Run(wav, [&] {
      resampledFirst = u.form.Plan().resampled;
      u.form.SoundBox->UnchangedCheckBox->click();
      specifiedUnchanged = u.form.Plan().specified && !u.form.Plan().resampled;
      u.form.UploadButton->click();
    });
    QVERIFY(resampledFirst && specifiedUnchanged);
    const std::unique_ptr<kelvora::transfer::UploadSource> source = u.form.TakeSource();
    QVERIFY(source != nullptr);
    QCOMPARE(source->RateWord() >> 8, 28);  // 625000 / 22050, rounded down
    QCOMPARE(source->FrameCount(), 300);
    const std::vector<int> words = AllWords(*source);
    QCOMPARE(int(words.size()), 300);
    for (int k = 0; k < 300; ++k) QCOMPARE(int16_t(words[size_t(k)]), int16_t(ramp(k, 0)));
  }

  // Select... offers every format libsndfile reads; a file it cannot read says why on the
  // format line and offers no rate.
  void selectOffersEveryReadableFormatAndABrokenFileNoRate() {
    Upload u;
    QFile broken(u.File("broken.flac"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("fLaC and then nothing") > 0);
    broken.close();
    QStringList filters;
    QString format, plan;
    bool noRates = false;
    u.Run(u.File("broken.flac"), [&] {
      format = u.form.SoundBox->FormatLabel->text();
      plan = u.form.SoundBox->PlanLabel->text();
      noRates = u.form.SoundBox->RateComboBox->count() == 0 &&
                !u.form.SoundBox->RateComboBox->isEnabled();
      ModalWatch<QFileDialog> chooser([&](QFileDialog* d) {
        filters = d->nameFilters();
        d->reject();
      });
      u.form.SelectButton->click();
      u.form.Button3->click();
    });
    QVERIFY2(format.contains("broken.flac"), qPrintable(format));
    QVERIFY(plan.isEmpty() && noRates);
    QVERIFY(!filters.isEmpty());
    for (const char* pattern : {"*.wav", "*.aiff", "*.aif", "*.flac", "*.ogg", "*.mp3", "*.caf",
                                "*.w64", "*.rf64", "*.FLAC"}) {
      QVERIFY2(filters.first().contains(QString(pattern) + ' ') ||
                   filters.first().contains(QString(pattern) + ')'),
               qPrintable(filters.first()));
    }
  }
};

QTEST_MAIN(UploadSoundTest)
#include "upload_sound_test.moc"
