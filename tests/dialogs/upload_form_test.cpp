// The upload dialog against the simulated sampler with its demo instruments: key names and the
// keys played on the sampler, how the chosen file sets the enabling, what OK hands over, and the
// uploads it refuses.
#include <sndfile.h>
#include <QAbstractItemView>
#include <QAction>
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
#include <QTemporaryDir>
#include <QToolButton>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "dialogs/Audition.h"
#include "dialogs/KeyName.h"
#include "dialogs/RenameInstrForm.h"
#include "dialogs/UploadForm.h"
#include "dialogs/UploadSoundBox.h"
#include "support/ModalWatch.h"
#include "support/Shots.h"
#include "support/SimSession.h"
#include "support/WindowTest.h"

using kelvora::dialogs::KeyName;
using kelvora::dialogs::TRenameInstrForm;
using kelvora::dialogs::TUploadForm;
using kelvora::testing::FocusAndWait;
using kelvora::testing::ModalWatch;
using kelvora::testing::SimSession;
using kelvora::transfer::KeyRangeMode;

namespace {

// A PCM WAV file of 100 frames of silence; with a root key, a smpl chunk names it.
void WriteWav(const QString& path, int channels, int bits = 16, quint32 rate = 44100,
              int rootKey = -1) {
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

// The demo sampler and a folder with mono.wav, stereo.wav and stereo2.wav, which is also the
// main window's folder.
struct Upload {
  SimSession session{SimSession::DemoOptions()};
  QTemporaryDir dir;
  QString folder = dir.path();
  TUploadForm form{*session.eps, folder};

  Upload() {
    session.Connect();
    WriteWav(File("mono.wav"), 1);
    WriteWav(File("stereo.wav"), 2);
    WriteWav(File("stereo2.wav"), 2);
  }
  QString File(const QString& name) const { return dir.filePath(name); }
  // Runs the dialog with `act` inside it; a failed check in the act cancels the dialog.
  int Run(const QString& fileName, const std::function<void()>& act) {
    ModalWatch<TUploadForm> watch([&](TUploadForm*) {
      act();
      if (form.isVisible()) form.reject();
    });
    return form.Execute(fileName);
  }
  void Name(const QString& text) {
    form.FileNameEdit->setText(text);
    form.CheckFile();
  }
  bool ChannelsEnabled() const {
    return form.MonoRadio->isEnabled() && form.LeftRadio->isEnabled() &&
           form.RightRadio->isEnabled();
  }
  bool ChannelsDisabled() const {
    return !form.MonoRadio->isEnabled() && !form.LeftRadio->isEnabled() &&
           !form.RightRadio->isEnabled();
  }
  // Presses Upload; the text of the message box it shows ("" for none) and whether the dialog
  // is still open afterwards.
  QString UploadMessage(bool& stillOpen) {
    QString text;
    ModalWatch<QMessageBox> box([&](QMessageBox* b) {
      text = b->windowTitle() + ": " + b->text();
      b->accept();
    });
    form.UploadButton->click();
    stillOpen = form.isVisible();
    return text;
  }
};

int Note(const QComboBox* box) { return box->currentIndex() + 21; }

QStringList Lines(const QListWidget* box) {
  QStringList lines;
  for (int k = 0; k < box->count(); ++k) lines << box->item(k)->text();
  return lines;
}

}  // namespace

class UploadFormTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void keyNamesPutTheSharpAfterTheOctave() {
    const std::pair<int, const char*> names[] = {{21, "A0"}, {22, "A0+"}, {23, "B0"},  {24, "C1"},
                                                 {60, "C4"}, {61, "C4+"}, {70, "A4+"}, {108, "C8"}};
    for (const auto& [note, name] : names) QCOMPARE(KeyName(note), QString(name));
    Upload u;
    for (const QComboBox* box :
         {u.form.RootKeyComboBox, u.form.LoKeyComboBox, u.form.HiKeyComboBox}) {
      QCOMPARE(box->count(), 88);
      QCOMPARE(box->itemText(87), QString("C8"));
    }
    QCOMPARE(u.form.RootKeyComboBox->currentText(), QString("C4"));
    QCOMPARE(u.form.LoKeyComboBox->currentText(), QString("A0"));
    QCOMPARE(u.form.HiKeyComboBox->currentText(), QString("C8"));
  }

  void keysPlayedOnTheSamplerSetOnlyTheFocusedKeyList() {
    Upload u;
    bool focused = false;
    u.Run("", [&] {
      u.form.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&u.form));
      QVERIFY(!u.form.LoKeyComboBox->isEnabled());
      u.form.CustomRangeRadio->click();
      QVERIFY(u.form.LoKeyComboBox->isEnabled() && u.form.HiKeyComboBox->isEnabled());
      u.form.RootKeyComboBox->setFocus();
      focused = u.form.RootKeyComboBox->hasFocus();
      u.form.KeyPlayed(61);
      QCOMPARE(u.form.RootKeyComboBox->currentText(), QString("C4+"));
      u.form.KeyPlayed(12);
      QCOMPARE(u.form.RootKeyComboBox->currentText(), QString("A0"));
      u.form.HiKeyComboBox->setFocus();
      u.form.HiKeyComboBox->showPopup();
      QVERIFY(u.form.HiKeyComboBox->view()->isVisible());
      u.form.KeyPlayed(72);
      QVERIFY(!u.form.HiKeyComboBox->view()->isVisible());
      u.form.LoKeyComboBox->setFocus();
      u.form.KeyPlayed(120);
      u.form.InstrumentListBox->setFocus();
      u.form.KeyPlayed(40);
      u.form.KeyRangeRadio->click();
      QVERIFY(!u.form.LoKeyComboBox->isEnabled() && u.form.RootKeyComboBox->isEnabled());
      u.form.Button3->click();
    });
    QVERIFY(focused);
    QCOMPARE(Note(u.form.RootKeyComboBox), 21);
    QCOMPARE(Note(u.form.HiKeyComboBox), 72);
    QCOMPARE(Note(u.form.LoKeyComboBox), 108);
    QCOMPARE(u.form.RootKey, 60);  // cancelled: nothing handed over
  }

  void theChannelRadiosFollowTheFile() {
    Upload u;
    QVERIFY(QDir().mkpath(u.File("other")));
    WriteWav(u.File("other/picked.wav"), 2);
    QString startedIn;
    const int result = u.Run(u.File("stereo"), [&] {
      // The name without extension found stereo.wav.
      QVERIFY(u.ChannelsEnabled());
      QVERIFY(u.form.UploadButton->isEnabled() && u.form.AuditButton->isEnabled());
      u.form.RightRadio->click();
      u.Name("stereo2");
      QVERIFY(u.ChannelsEnabled() && u.form.RightRadio->isChecked());
      u.Name("mono");
      QVERIFY(u.ChannelsDisabled() && u.form.MonoRadio->isChecked());
      u.Name("missing");
      QVERIFY(u.ChannelsDisabled() && u.form.MonoRadio->isChecked());
      u.form.FileNameEdit->setText("  ");
      QVERIFY(!u.form.UploadButton->isEnabled() && !u.form.AuditButton->isEnabled());
      u.form.ChooseFile = [&](const QString& start) {
        startedIn = start;
        return QStringList{u.File("other/picked.wav")};
      };
      u.form.SelectButton->click();
      QCOMPARE(u.form.FileNameEdit->text(), QString("picked.wav"));
      QVERIFY(u.ChannelsEnabled() && u.form.UploadButton->isEnabled());
      u.form.Button3->click();
    });
    QCOMPARE(result, 2);
    QCOMPARE(QDir(startedIn), QDir(u.dir.path()));
    QCOMPARE(QDir(u.folder), QDir(u.File("other")));  // Select... moved the main window's folder
  }

  void anEmptyNameLooksUpTheEarlierNameInTheCurrentFolder() {
    Upload u;
    u.Run(u.File("mono.wav"), [&] { u.form.Button3->click(); });
    QVERIFY(QDir().mkpath(u.File("next")));
    WriteWav(u.File("next/mono.wav"), 2);
    u.folder = u.File("next");
    bool enabled = false;
    u.Run("", [&] {
      enabled = u.form.UploadButton->isEnabled() && u.ChannelsEnabled();
      u.form.Button3->click();
    });
    QVERIFY(enabled);
    QCOMPARE(QDir::toNativeSeparators(u.form.FilePath()),
             QDir::toNativeSeparators(u.File("next/mono.wav")));
  }

  void okHandsOverTheTargetKeysAndChannel() {
    Upload u;
    QCOMPARE(
        u.Run(u.File("stereo.wav"),
              [&] {
                u.form.InstrumentListBox->setCurrentRow(0);  // (1) Demo Synth: wavesamples 1..3
                QCOMPARE(u.form.WaveSampleListBox->item(0)->text(), QString("<new>"));
                u.form.WaveSampleListBox->setCurrentRow(0);
                u.form.CustomRangeRadio->click();
                u.form.LoKeyComboBox->setCurrentIndex(60 - 21);  // C4
                u.form.HiKeyComboBox->setCurrentIndex(72 - 21);  // C5
                u.form.RootKeyComboBox->setCurrentIndex(61 - 21);
                u.form.LeftRadio->click();
                u.form.UploadButton->click();
              }),
        1);
    QCOMPARE(u.session.eps->Instrument, 0);
    QCOMPARE(u.session.eps->WaveSample, 4);  // the first free slot
    QCOMPARE(u.session.eps->Layer, 0);
    const auto custom = u.form.Choices();
    QCOMPARE(custom.range, KeyRangeMode::Custom);
    QCOMPARE(std::make_tuple(custom.rootKey, custom.loKey, custom.hiKey, custom.channelMode),
             std::make_tuple(61, 60, 72, 1));
    QCOMPARE(u.form.Plan().channels, 2);
    const std::unique_ptr<kelvora::transfer::UploadSource> source = u.form.TakeSource();
    QVERIFY(source != nullptr);
    QCOMPARE(source->FrameCount(), 100);

    QCOMPARE(u.Run("",
                   [&] {
                     u.form.InstrumentListBox->setCurrentRow(2);  // (3) Pad 2 Layers
                     u.form.WaveSampleListBox->setCurrentRow(2);  // WaveSample 2, on layer 2
                     QCOMPARE(u.form.LayerListBox->currentItem()->text(), QString("Layer 2"));
                     u.form.KeyRangeRadio->click();
                     u.form.MonoRadio->click();
                     u.form.UploadButton->click();
                   }),
             1);
    const auto root = u.form.Choices();
    QCOMPARE(std::make_tuple(root.instrument, root.waveSample, root.layer, root.channelMode),
             std::make_tuple(2, 2, 1, 3));
    QCOMPARE(root.range, KeyRangeMode::Root);
  }

  void uploadRefusesWhatCannotBeUploadedAndStaysOpen() {
    Upload u;
    QFile garbage(u.File("garbage.wav"));
    QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("not a wave file at all") > 0);
    garbage.close();
    WriteWav(u.File("cut.wav"), 1);
    QVERIFY(QFile::resize(u.File("cut.wav"), 100));
    u.session.AddInstrument(5, "FULL");
    u.session.AddLayer(5, 0);
    for (int w = 1; w <= 127; ++w) u.session.AddWaveSample(5, 0, w, 8, 7);
    QStringList messages;
    bool open = true;
    const int result = u.Run(u.File("missing.wav"), [&] {
      for (const char* name : {"missing.wav", "garbage.wav", "cut.wav"}) {
        u.Name(name);
        messages << u.UploadMessage(open);
        if (!open) return;
      }
      u.Name("mono.wav");
      u.form.InstrumentListBox->setCurrentRow(5);  // (6) Full
      u.form.WaveSampleListBox->setCurrentRow(0);  // <new>
      messages << u.UploadMessage(open);
      if (open) u.form.Button3->click();
    });
    QVERIFY2(open, qPrintable(messages.join('|')));
    QCOMPARE(result, 2);
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages[0], "File open error: File '" +
                              QDir::toNativeSeparators(u.File("missing.wav")) +
                              "' does not exist.");
    QVERIFY2(messages[1].startsWith("Upload: The file '"), qPrintable(messages[1]));
    QVERIFY2(messages[2].contains("cut short"), qPrintable(messages[2]));
    QVERIFY2(messages[3].contains("all 127 are in use"), qPrintable(messages[3]));
  }

  void aCustomRangeWithTheLowKeyAboveTheHighKeyIsRefusedWhileItCanBeChanged() {
    Upload u;
    QString refusal;
    bool open = false;
    bool lowKeyFocused = false;
    const int result = u.Run(u.File("mono.wav"), [&] {
      u.form.CustomRangeRadio->click();
      u.form.LoKeyComboBox->setCurrentIndex(73 - 21);  // C5+
      u.form.HiKeyComboBox->setCurrentIndex(60 - 21);  // C4
      refusal = u.UploadMessage(open);
      lowKeyFocused = u.form.focusWidget() == u.form.LoKeyComboBox;
      if (!open) return;
      u.form.HiKeyComboBox->setCurrentIndex(73 - 21);  // one key: C5+ to C5+
      u.UploadMessage(open);
    });
    QCOMPARE(refusal, QString("Upload: The custom key range runs from C5+ down to C4: the low key "
                              "must not be above the high key."));
    QVERIFY(lowKeyFocused);
    QCOMPARE(result, 1);
    const auto custom = u.form.Choices();
    QCOMPARE(std::make_pair(custom.loKey, custom.hiKey), std::make_pair(73, 73));

    // Only the custom range relates the two keys; the root-key range leaves them aside.
    QString rootRange;
    QCOMPARE(u.Run("",
                   [&] {
                     u.form.HiKeyComboBox->setCurrentIndex(60 - 21);
                     u.form.KeyRangeRadio->click();
                     rootRange = u.UploadMessage(open);
                   }),
             1);
    QCOMPARE(rootRange, QString());
    QCOMPARE(u.form.Choices().range, KeyRangeMode::Root);
  }

  void enterChecksTheFileAndNeverUploads() {
    Upload u;
    bool radiosAfterEnter = false;
    bool openAfterEnter = false;
    bool openAfterListEnter = false;
    bool anyDefault = true;
    const int result = u.Run("", [&] {
      anyDefault = u.form.UploadButton->isDefault() || u.form.SelectButton->isDefault() ||
                   u.form.Button3->isDefault() || u.form.Button4->isDefault();
      u.form.FileNameEdit->setFocus();
      u.form.FileNameEdit->setText("stereo");
      QVERIFY(u.form.UploadButton->isEnabled() && u.ChannelsDisabled());
      QTest::keyClick(u.form.FileNameEdit, Qt::Key_Return);
      openAfterEnter = u.form.isVisible();
      radiosAfterEnter = u.ChannelsEnabled();
      QTest::keyClick(u.form.InstrumentListBox, Qt::Key_Enter);
      openAfterListEnter = u.form.isVisible();
      // A button that has the focus is still pressed by Enter.
      u.form.UploadButton->setFocus();
      QTest::keyClick(u.form.UploadButton, Qt::Key_Return);
    });
    QCOMPARE(result, 1);
    QVERIFY(!anyDefault);
    QVERIFY(openAfterEnter);
    QVERIFY(radiosAfterEnter);
    QVERIFY(openAfterListEnter);
  }

  void theKeysActOnTheFocusedListAndF5RefreshesFromAnywhere() {
    Upload u;
    QString listedAfterF5;
    QString offered;
    QStringList layers;
    u.Run("", [&] {
      u.form.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&u.form));
      u.session.AddInstrument(5, "LATE");
      QVERIFY(FocusAndWait(u.form.FileNameEdit));
      QTest::keyClick(u.form.FileNameEdit, Qt::Key_F5);
      listedAfterF5 = u.form.InstrumentListBox->item(5)->text();
      u.form.InstrumentListBox->setCurrentRow(2);  // (3) Pad 2 Layers
      QVERIFY(FocusAndWait(u.form.InstrumentListBox));
      ModalWatch<TRenameInstrForm> renamer([&](TRenameInstrForm* rename) {
        offered = rename->NameEdit->text();
        rename->CancelButton->click();
      });
      QTest::keyClick(u.form.InstrumentListBox, Qt::Key_F2);
      u.form.activateWindow();  // back from the rename dialog
      QVERIFY(QTest::qWaitForWindowActive(&u.form));
      QCOMPARE(Lines(u.form.LayerListBox), QStringList({"<new>", "Layer 1", "Layer 2"}));
      u.form.LayerListBox->setCurrentRow(2);
      QVERIFY(FocusAndWait(u.form.LayerListBox));
      QTest::keyClick(u.form.LayerListBox, Qt::Key_Delete);
      u.form.InstrumentListBox->setCurrentRow(2);
      layers = Lines(u.form.LayerListBox);
    });
    QCOMPARE(listedAfterF5, QString("(6) Late"));
    QCOMPARE(offered, QString("Pad 2 Layers"));
    QCOMPARE(layers, QStringList({"<new>", "Layer 1"}));
    QVERIFY(u.session.HasWaveSample(2, 1));
  }

  void aPortFailureInAListCommandIsShownAndTheDialogStaysOpen() {
    Upload u;
    QStringList messages;
    bool open = false;
    u.Run("", [&] {
      // Every message to the sampler now takes seconds on the cable, so the output port's
      // 20-second wait for a send to finish runs out (in virtual time) and the port raises.
      u.session.driver->SetWireRate(1);
      for (QAction* command : {u.form.DeleteInsMenuItem, u.form.DeleteWsMenuItem,
                               u.form.DeleteLayMenuItem, u.form.RefreshLayMenuItem}) {
        u.form.WaveSampleListBox->setCurrentRow(1);
        ModalWatch<QMessageBox> box([&](QMessageBox* shown) {
          messages << shown->windowTitle() + ": " + shown->text();
          shown->accept();
        });
        command->trigger();
      }
      open = u.form.isVisible();
    });
    const QString stalled = "Kelvora: error: Midiout takes too long to send data";
    QCOMPARE(messages, QStringList({stalled, stalled, stalled, stalled}));
    QVERIFY(open);
  }

  void listCommandsEnableByLineAndAct() {
    Upload u;
    u.Run("", [&] {
      u.form.InstrumentListBox->setCurrentRow(3);  // (4) <new>
      QVERIFY(!u.form.RenameMenuItem->isEnabled() && !u.form.DeleteInsMenuItem->isEnabled());
      u.form.InstrumentListBox->setCurrentRow(0);
      QVERIFY(u.form.RenameMenuItem->isEnabled() && u.form.DeleteInsMenuItem->isEnabled());
      u.form.WaveSampleListBox->setCurrentRow(0);
      QVERIFY(!u.form.DeleteWsMenuItem->isEnabled());
      u.form.WaveSampleListBox->setCurrentRow(2);  // WaveSample 2
      u.form.DeleteWsMenuItem->trigger();
      u.form.Button3->click();
    });
    u.session.Settle();
    QVERIFY(!u.session.HasWaveSample(0, 2));
    QVERIFY(u.session.HasWaveSample(0, 1));
  }

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

  void shot() {
    Upload u;
    QImage image;
    u.Run(u.File("stereo.wav"), [&] {
      u.form.LeftRadio->click();
      image = kelvora::testing::Shoot(&u.form, "upload_form_stereo");
      u.form.Button3->click();
    });
    QVERIFY(kelvora::testing::ColourCount(image) > 3);
  }
};

QTEST_MAIN(UploadFormTest)
#include "upload_form_test.moc"
