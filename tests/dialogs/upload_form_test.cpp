// The upload dialog against the simulated sampler with its demo instruments: key names and the
// keys played on the sampler, how the chosen file sets the enabling, what OK hands over, and the
// uploads it refuses.

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "dialogs/KeyName.h"
#include "dialogs/RenameInstrForm.h"
#include "dialogs/UploadForm.h"
#include "support/Shots.h"
#include "support/WindowTest.h"
#include "upload_support.h"

using kelvora::dialogs::KeyName;
using kelvora::dialogs::TRenameInstrForm;
using kelvora::dialogs::TUploadForm;
using kelvora::testing::FocusAndWait;
using kelvora::transfer::KeyRangeMode;
using namespace kelvora::dialogs::test;

namespace {

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
