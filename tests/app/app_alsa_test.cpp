// The window program on the kernel's ALSA sequencer (label vm: run in the QEMU guest of
// scripts/alsa-vm.sh). The far end is kelvora-sim, either on the raw MIDI side of a virtual
// cable, as a sampler behind a USB MIDI interface would be, or as a sequencer client of its own;
// the window picks it in Preferences and opens a wavesample through it.
#include <unistd.h>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "app/CommandTable.h"
#include "controls/MidiInComboBox.h"
#include "controls/MidiOutComboBox.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/PreferencesForm.h"
#include "midi/AlsaMidiDriver.h"
#include "midi/AlsaPortList.h"
#include "midi/AlsaSequencer.h"
#include "protocol/Eps.h"
#include "support/MainWindowTest.h"
#include "support/ScopedDriver.h"
#include "support/WhenModal.h"

using namespace kelvora;
using app::Cmd;
using kelvora::testing::WhenModal;

namespace {

// The cable this test holds; the end-to-end scripts use the others.
constexpr int kCable = 3;
const QString kCableDevice = "Virtual Raw MIDI 0-3:";  // its port's name is cut off at 31 bytes
const QString kSimulated = "Simulated EPS-16 PLUS";

// kelvora-sim as the sampler at the far end, ended with the test.
class FarEnd {
 public:
  ~FarEnd() { Kill(); }

  // On the raw MIDI device of the cable, as a sampler's MIDI cable would be. Until the program
  // reads the device, the kernel drops what is sent to the cable, as a sampler that is still
  // switched on would miss it: so this waits until it answers a probe.
  bool StartOnCable(int cable) {
    const QString device = QString("/dev/snd/midiC0D%1").arg(cable);
    process_.setStandardInputFile(device);
    process_.setStandardOutputFile(device);
    process_.start(KELVORA_SIM_PROGRAM, {"--stdio", "--paced"});
    return process_.waitForStarted() &&
           Answers(QString("Virtual Raw MIDI 0-%1:").arg(cable).toStdString());
  }
  // A sequencer client with one duplex port of that name; it paces its answers itself.
  bool StartOnSequencer(const QString& name) {
    process_.start(KELVORA_SIM_PROGRAM, {"--alsa", "--name", name});
    return process_.waitForStarted() &&
           QTest::qWaitFor([&] { return Errors().contains("Ctrl+C ends"); }, 20000);
  }
  // Probes the first port whose name starts so, through a client of its own, until an answer
  // comes; at most 20 s.
  static bool Answers(const std::string& start) {
    std::atomic<bool> answered{false};
    midi::AlsaSequencer peer;  // after the flag its thread sets
    if (peer.Open("KelvoraReady") || peer.CreatePort("Probe", midi::AlsaSequencer::kDuplexCaps)) {
      return false;
    }
    const auto ports = midi::AlsaPortList::Scan(peer.Handle(), midi::AlsaDirection::Output, {});
    const auto port = std::find_if(ports.begin(), ports.end(), [&](const midi::AlsaPortInfo& p) {
      return p.name.rfind(start, 0) == 0;
    });
    if (port == ports.end() || peer.ConnectTo({port->client, port->port}) ||
        peer.ConnectFrom({port->client, port->port}) ||
        peer.StartInput({[&](const uint8_t*, size_t) { answered = true; }, nullptr, nullptr})) {
      return false;
    }
    const uint8_t probe[] = {0xF0, 0x0F, 0x03, 0x00, 0x40, 0x00, 0x23, 0xF7};
    for (int attempt = 0; attempt < 40; ++attempt) {
      peer.SendSysex(probe, sizeof probe);
      if (QTest::qWaitFor([&] { return answered.load(); }, 500)) return true;
    }
    return false;
  }
  void Kill() {
    process_.kill();
    process_.waitForFinished();
  }
  QString Errors() {
    error_ += QString::fromLocal8Bit(process_.readAllStandardError());
    return QString("kelvora-sim %1, exit %2: %3")
        .arg(process_.state() == QProcess::Running ? "running" : "ended")
        .arg(process_.exitCode())
        .arg(error_);
  }

 private:
  QProcess process_;
  QString error_;
};

// The machine as the program sets it up: the ALSA sequencer's ports, then the built-in sampler.
class CabledMachine {
 public:
  CabledMachine() : devices_{&alsa_, &simulated_} {}

 private:
  midi::AlsaMidiDriver alsa_;
  sim::SimMidiDriver simulated_;
  midi::DeviceList devices_;
  kelvora::testing::ScopedDriver useDevices_{devices_};
};

int LineStarting(const QComboBox* box, const QString& start) {
  for (int i = 0; i < box->count(); ++i) {
    if (box->itemText(i).startsWith(start)) return i;
  }
  return -1;
}

// Picks the first device whose name starts so, for input and output, as a user would.
bool PickInPreferences(app::TMainForm& form, const QString& start) {
  bool found = false;
  WhenModal<dialogs::TPreferencesForm>([&](dialogs::TPreferencesForm* preferences) {
    const int in = LineStarting(preferences->MidiInComboBox, start);
    const int out = LineStarting(preferences->MidiOutComboBox, start);
    found = in >= 0 && out >= 0;
    if (found) {
      preferences->MidiInComboBox->setCurrentIndex(in);
      preferences->MidiOutComboBox->setCurrentIndex(out);
    }
    (found ? preferences->OkButton : preferences->CancelButton)->click();
  });
  form.Commands().Action(Cmd::Preferences)->trigger();
  return found;
}

// Wavesample 1 of instrument 1 of the demo content: its record and its overview.
struct Opened {
  std::vector<int> params;
  std::vector<int> overview;
};

Opened OpenFirstWavesample(app::TMainForm& form) {
  WhenModal<dialogs::TOpenWaveForm>([](dialogs::TOpenWaveForm* browser) {
    browser->InstrumentListBox->setCurrentRow(0);
    browser->WaveSampleListBox->setCurrentRow(0);
    browser->OkButton->click();
  });
  form.Commands().Action(Cmd::OpenWavesample)->trigger();
  const protocol::TEps& eps = form.Eps();
  if (!eps.WsOpen || eps.WaveSample != 1) return {};
  Opened opened{{std::begin(eps.WsParams), std::end(eps.WsParams)},
                {std::begin(eps.Overview), std::end(eps.Overview)}};
  form.Commands().Action(Cmd::CloseWavesample)->trigger();
  return opened;
}

}  // namespace

class AlsaTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    if (access("/dev/snd/seq", F_OK) != 0 || access("/dev/snd/midiC0D3", F_OK) != 0) {
      QSKIP("no ALSA sequencer with virtual MIDI cables here: run through scripts/alsa-vm.sh");
    }
  }
  void init() {
    machine_ = std::make_unique<CabledMachine>();
    form_ = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form_->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }
  void cleanup() {
    form_.reset();
    machine_.reset();
  }

  void opensAWavesampleOfTheSamplerBehindAVirtualCable() {
    FarEnd farEnd;
    QVERIFY(farEnd.StartOnCable(kCable));
    QVERIFY(PickInPreferences(*form_, kCableDevice));
    const Opened throughCable = OpenFirstWavesample(*form_);
    QVERIFY2(!throughCable.params.empty(), qPrintable(farEnd.Errors()));
    // The built-in sampler holds the same demo content: what crossed the kernel is the same.
    QVERIFY(PickInPreferences(*form_, kSimulated));
    const Opened inProcess = OpenFirstWavesample(*form_);
    QVERIFY(!inProcess.params.empty());
    QCOMPARE(throughCable.params, inProcess.params);
    QCOMPARE(throughCable.overview, inProcess.overview);
    QVERIFY(*std::max_element(inProcess.overview.begin(), inProcess.overview.end()) > 0);
  }

  // A sampler client that appears after start-up is in the next Preferences list; restarted
  // under another client number, it is found again by its name.
  void findsASamplerClientThatAppearsLaterAndAgainUnderANewNumber() {
    const QString name = "Late EPS";
    FarEnd farEnd;
    QVERIFY(farEnd.StartOnSequencer(name));
    QVERIFY(PickInPreferences(*form_, name + ":" + name));
    QVERIFY(!OpenFirstWavesample(*form_).params.empty());

    farEnd.Kill();
    midi::AlsaSequencer blocker;  // takes the client number the sampler had, if it is free
    QCOMPARE(blocker.Open("Blocker"), 0);
    FarEnd restarted;
    QVERIFY(restarted.StartOnSequencer(name));
    QVERIFY(!OpenFirstWavesample(*form_).params.empty());
  }

 private:
  // A sampler that does not answer, or a port that fails, shows a window nobody answers: the
  // window tests' guard fails the test with its text.
  std::unique_ptr<CabledMachine> machine_;
  std::unique_ptr<app::TMainForm> form_;
};

QTEST_MAIN(AlsaTest)
#include "app_alsa_test.moc"
