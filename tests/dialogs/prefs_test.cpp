#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <memory>
#include <optional>

#include "controls/ChannelComboBox.h"
#include "controls/MidiInComboBox.h"
#include "controls/MidiOutComboBox.h"
#include "dialogs/HelpLink.h"
#include "dialogs/PreferencesForm.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/Eps.h"
#include "sim/SimMidiDriver.h"
#include "support/CountingDriver.h"
#include "support/ScopedDriver.h"
#include "support/SessionRecordingUi.h"
#include "support/Shots.h"
#include "support/WhenModal.h"
#include "support/WindowTest.h"

using kelvora::dialogs::TPreferencesForm;
using kelvora::testing::WhenModal;
namespace protocol = kelvora::protocol;

// Two simulated samplers give two input and two output devices; the ports start open on
// device 0, channel 1, so every close and reopen the dialog causes is counted.
class PrefsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    first_ = std::make_unique<kelvora::sim::SimMidiDriver>();
    second_ = std::make_unique<kelvora::sim::SimMidiDriver>();
    driver_ = std::make_unique<kelvora::testing::CountingDriver>(
        std::vector<kelvora::midi::MidiDriver*>{first_.get(), second_.get()});
    useDriver_.emplace(*driver_);
    eps_ = std::make_unique<protocol::TEps>(ui_);
    QVERIFY(eps_->MidiIn->Open());
    QVERIFY(eps_->MidiOut->Open());
    eps_->BlockSize = 1000;
    eps_->Delay = 400;
    download_ = {};
    form_ = std::make_unique<TPreferencesForm>(*eps_, download_);
    driver_->Reset();
  }

  void cleanup() {
    form_.reset();
    eps_.reset();
    useDriver_.reset();
    driver_.reset();
    second_.reset();
    first_.reset();
  }

  void controlsShowTheLiveSettings() {
    eps_->MidiOut->SetChannel(16);
    int in = -2, out = -2, channel = 0, block = 0, delay = 0;
    QString channelText;
    WhenModal<TPreferencesForm>([&](TPreferencesForm* f) {
      in = f->MidiInComboBox->DeviceID();
      out = f->MidiOutComboBox->DeviceID();
      channel = f->ChannelComboBox->Channel();
      channelText = f->ChannelComboBox->currentText();
      block = f->BlockSizeScrollBar->value();
      delay = f->DelayScrollBar->value();
      f->CancelButton->click();
    });
    QCOMPARE(form_->Execute(), int(protocol::mrCancel));
    QCOMPARE(in, 0);
    QCOMPARE(out, 0);
    QCOMPARE(channel, 16);
    QCOMPARE(channelText, QString("16"));
    QCOMPARE(block, 1000);
    QCOMPARE(delay, 400);
  }

  void cancelAfterMovingEverythingChangesNothing() {
    WhenModal<TPreferencesForm>([](TPreferencesForm* f) {
      f->MidiInComboBox->SetDeviceID(1);
      f->MidiOutComboBox->SetDeviceID(1);
      f->ChannelComboBox->SetChannel(7);
      f->BlockSizeScrollBar->setValue(5000);
      f->DelayScrollBar->setValue(3000);
      f->CancelButton->click();
    });
    QCOMPARE(form_->Execute(), int(protocol::mrCancel));
    QCOMPARE(eps_->MidiIn->DeviceID(), 0);
    QCOMPARE(eps_->MidiOut->DeviceID(), 0);
    QCOMPARE(eps_->Channel(), 1);
    QCOMPARE(eps_->BlockSize, 1000);
    QCOMPARE(eps_->Delay, 400);
    QCOMPARE(driver_->inputCloses + driver_->outputCloses, 0);
    QVERIFY(driver_->inputOpens.empty() && driver_->outputOpens.empty());
  }

  void okWithOnlyTheChannelReopensNothing() {
    WhenModal<TPreferencesForm>([](TPreferencesForm* f) {
      f->ChannelComboBox->SetChannel(9);
      f->OkButton->click();
    });
    QCOMPARE(form_->Execute(), int(protocol::mrOk));
    QCOMPARE(eps_->Channel(), 9);
    QCOMPARE(driver_->inputCloses + driver_->outputCloses, 0);
    QVERIFY(driver_->inputOpens.empty() && driver_->outputOpens.empty());
    QVERIFY(eps_->MidiIn->IsOpen() && eps_->MidiOut->IsOpen());
  }

  void okWithAnotherOutputReopensOnlyTheOutput() {
    WhenModal<TPreferencesForm>([](TPreferencesForm* f) {
      f->MidiOutComboBox->SetDeviceID(1);
      f->OkButton->click();
    });
    QCOMPARE(form_->Execute(), int(protocol::mrOk));
    QCOMPARE(eps_->MidiOut->DeviceID(), 1);
    QCOMPARE(driver_->outputCloses, 1);
    QCOMPARE(driver_->outputOpens, std::vector<int>{1});
    QVERIFY(eps_->MidiOut->IsOpen());
    QCOMPARE(driver_->inputCloses, 0);
    QVERIFY(driver_->inputOpens.empty());
    QCOMPARE(eps_->MidiIn->DeviceID(), 0);
  }

  void transferSettingsOutsideTheirRangeComeBackAtTheNearerEnd_data() {
    QTest::addColumn<int>("storedBlock");
    QTest::addColumn<int>("storedDelay");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("delay");
    QTest::newRow("below") << 100 << -40 << 256 << 0;
    QTest::newRow("above") << 20000 << 9000 << 10240 << 4000;
    QTest::newRow("inside") << 4321 << 1234 << 4321 << 1234;
  }

  void transferSettingsOutsideTheirRangeComeBackAtTheNearerEnd() {
    QFETCH(int, storedBlock);
    QFETCH(int, storedDelay);
    eps_->BlockSize = storedBlock;
    eps_->Delay = storedDelay;
    int shownBlock = 0;
    WhenModal<TPreferencesForm>([&](TPreferencesForm* f) {
      shownBlock = f->BlockSizeScrollBar->value();
      f->OkButton->click();
    });
    QCOMPARE(form_->Execute(), int(protocol::mrOk));
    QTEST(shownBlock, "block");
    QTEST(eps_->BlockSize, "block");
    QTEST(eps_->Delay, "delay");
  }

  // The bars say their values in words, and what they cost a second of sound: 44102 words of
  // 3 bytes, 41 bytes of exchange and the pause for each block, the record's 450 bytes.
  void transferBarsSayTheirValuesAndWhatTheyCost() {
    QStringList texts;
    double atStart = 0, withoutDelay = 0, smallBlocks = 0;
    auto seconds = [](const QLabel* label) {
      return label->text().section(' ', -5, -5).toDouble();
    };
    WhenModal<TPreferencesForm>([&](TPreferencesForm* f) {
      texts << f->BlockSizeValue->text() << f->DelayValue->text() << f->TransferTime->text();
      atStart = seconds(f->TransferTime);
      kelvora::testing::Shoot(f, "preferences-values");
      f->DelayScrollBar->setFocus();
      QTest::keyClick(f->DelayScrollBar, Qt::Key_Home);
      texts << f->DelayValue->text();
      withoutDelay = seconds(f->TransferTime);
      f->BlockSizeScrollBar->setFocus();
      QTest::keyClick(f->BlockSizeScrollBar, Qt::Key_End);
      texts << f->BlockSizeValue->text();
      QTest::keyClick(f->BlockSizeScrollBar, Qt::Key_Home);
      texts << f->TransferTime->text().section(':', 1).section(',', 0, 0);
      smallBlocks = seconds(f->TransferTime);
      f->CancelButton->click();
    });
    form_->Execute();
    QCOMPARE(texts, QStringList({"1000 words", "400 ms",
                                 "Uploading 1 s of 44100 Hz sound: 45 blocks, 61.1 s on the wire",
                                 "0 ms", "10240 words", " 173 blocks"}));
    QCOMPARE(atStart - withoutDelay, 45 * 0.4);
    QVERIFY2(smallBlocks > withoutDelay + 1.5, qPrintable(QString::number(smallBlocks)));
  }

  // Device 3 no longer exists: nothing is selected, so OK leaves the input without a device.
  void vanishedDeviceEndsWithoutDeviceAfterOk() {
    eps_->MidiIn->Close();
    eps_->MidiIn->SetDeviceID(3);
    driver_->Reset();
    int shown = 0;
    WhenModal<TPreferencesForm>([&](TPreferencesForm* f) {
      shown = f->MidiInComboBox->DeviceID();
      f->OkButton->click();
    });
    form_->Execute();
    QCOMPARE(shown, -1);
    QCOMPARE(eps_->MidiIn->DeviceID(), -1);
    QVERIFY(!eps_->MidiIn->IsOpen());
    QVERIFY(driver_->inputOpens.empty());
  }

  // WAV at the sampler's rate until the user picks another file; Cancel keeps what was there.
  void theDownloadFileFormatIsShownAndWrittenBackOnOk() {
    QString shownFormat, shownRate;
    WhenModal<TPreferencesForm>([&](TPreferencesForm* f) {
      shownFormat = f->DownloadFormatComboBox->currentText();
      shownRate = f->DownloadRateComboBox->currentText();
      f->DownloadFormatComboBox->setCurrentIndex(1);
      f->DownloadRateComboBox->setCurrentIndex(2);
      f->CancelButton->click();
    });
    QCOMPARE(form_->Execute(), int(protocol::mrCancel));
    QCOMPARE(shownFormat, QString("WAV"));
    QCOMPARE(shownRate, QString("As the sampler plays it"));
    QVERIFY(download_.IsSpecified());
    WhenModal<TPreferencesForm>([&](TPreferencesForm* f) {
      f->DownloadFormatComboBox->setCurrentIndex(2);
      f->DownloadRateComboBox->setCurrentIndex(1);
      f->OkButton->click();
    });
    QCOMPARE(form_->Execute(), int(protocol::mrOk));
    QCOMPARE(download_.container, kelvora::transfer::DownloadFormat::Aiff);
    QCOMPARE(download_.rate, 44100);
    QCOMPARE(QString(download_.Extension()), QString("aiff"));
    WhenModal<TPreferencesForm>([&](TPreferencesForm* f) {
      shownFormat = f->DownloadFormatComboBox->currentText();
      shownRate = f->DownloadRateComboBox->currentText();
      f->CancelButton->click();
    });
    form_->Execute();
    QCOMPARE(shownFormat, QString("AIFF"));
    QCOMPARE(shownRate, QString("44100 Hz"));
  }

  void helpShowsTopicTwo() {
    std::vector<int> topics;
    kelvora::dialogs::SetHelpHandler([&](int context) { topics.push_back(context); });
    WhenModal<TPreferencesForm>([](TPreferencesForm* f) {
      f->HelpButton->click();
      f->CancelButton->click();
    });
    form_->Execute();
    kelvora::dialogs::SetHelpHandler(nullptr);
    QCOMPARE(topics, std::vector<int>{2});
  }

 private:
  kelvora::testing::SessionRecordingUi ui_;
  std::unique_ptr<kelvora::sim::SimMidiDriver> first_, second_;
  std::unique_ptr<kelvora::testing::CountingDriver> driver_;
  std::optional<kelvora::testing::ScopedDriver> useDriver_;
  std::unique_ptr<protocol::TEps> eps_;
  kelvora::transfer::DownloadFormat download_;
  std::unique_ptr<TPreferencesForm> form_;
};

QTEST_MAIN(PrefsTest)
#include "prefs_test.moc"
