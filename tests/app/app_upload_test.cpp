// Uploads through the real main window into the simulated sampler: the Upload... command, the
// command-line transfer with and without "/DEL", Cancel during a transfer, and a dropped file.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>
#include <vector>

#include "app/AutoUpload.h"
#include "app/CommandTable.h"
#include "app/DroppedFiles.h"
#include "app/MainForms.h"
#include "app/TransferCommands.h"
#include "dialogs/StatusForm.h"
#include "dialogs/UploadForm.h"
#include "protocol/Eps.h"
#include "protocol/Sysex.h"
#include "sim/SamplerStatus.h"
#include "sim/SimMidiDriver.h"
#include "support/MainWindowTest.h"
#include "support/ModalWatch.h"
#include "transfer/wav_support.h"

using namespace kelvora::app;
using kelvora::dialogs::TUploadForm;
using kelvora::testing::ModalWatch;
using kelvora::transfer::TransferOutcome;
namespace wav = kelvora::transfer::test;
using wav::operator+;

namespace {

constexpr int kNew = 4;  // the demo content fills instruments 0..2; all eight are listed

using Samples = std::vector<int16_t>;

// A 16-bit PCM file at 44100 Hz; stereo samples are interleaved left first.
void WriteWav(const QString& path, int channels, const Samples& samples) {
  wav::Bytes data;
  for (int16_t sample : samples) {
    data.push_back(static_cast<uint8_t>(sample & 0xFF));
    data.push_back(static_cast<uint8_t>((sample >> 8) & 0xFF));
  }
  const wav::Bytes fmt = wav::FmtBody(1, channels, 44100, 16, 2 * channels);
  wav::Save(path.toStdString(),
            wav::RiffOf(wav::ChunkOf("fmt ", fmt) + wav::ChunkOf("data", data)));
}

// Sawtooth-like values over most of the 16-bit range, negative ones (odd) included.
Samples Ramp(int count, int from, int step) {
  Samples samples;
  for (int i = 0; i < count; ++i) samples.push_back(static_cast<int16_t>(from + i * step));
  return samples;
}

// Takes the "<new>" wavesample of the instrument on `row`, the given channel, then Upload.
void Accept(TUploadForm* dialog, int row,
            QRadioButton* TUploadForm::*channel = &TUploadForm::MonoRadio) {
  dialog->InstrumentListBox->setCurrentRow(row);
  dialog->WaveSampleListBox->setCurrentRow(0);
  if ((dialog->*channel)->isEnabled()) (dialog->*channel)->setChecked(true);
  dialog->UploadButton->click();
}

// The machine without hardware, with what the tests read from its sampler.
class SimMachine : public kelvora::testing::NoHardwareMachine {
 public:
  using NoHardwareMachine::NoHardwareMachine;

  // The stored words of a wavesample, as many as `count`; empty when it does not exist.
  Samples Data(int instrument, int waveSample, size_t count) {
    return Sampler().Sampler().WithMemory([&](kelvora::sim::SamplerMemory& memory) {
      const kelvora::sim::WaveData* data = memory.Data(instrument, waveSample);
      if (data == nullptr || data->size() < count) return Samples{};
      return Samples(data->begin(), data->begin() + static_cast<long>(count));
    });
  }
  // What the sampler keeps of these values.
  Samples Stored(const Samples& values) {
    return Sampler().Sampler().WithMemory([&](kelvora::sim::SamplerMemory& memory) {
      Samples stored;
      for (int16_t value : values) stored.push_back(memory.Store(value));
      return stored;
    });
  }
  void SetFaults(const kelvora::sim::FaultPlan& faults) { Sampler().Sampler().SetFaults(faults); }
  bool HasLayer(int instrument, int layer) {
    return Sampler().Sampler().WithMemory([&](kelvora::sim::SamplerMemory& memory) {
      return memory.Layer(instrument, layer) != nullptr;
    });
  }
};

QString In(const wav::TempFolder& folder, const char* name) {
  return QString::fromStdString(folder / name);
}

std::unique_ptr<QDropEvent> DropOf(const QList<QUrl>& urls, QMimeData& mime) {
  mime.setUrls(urls);
  return std::make_unique<QDropEvent>(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton,
                                      Qt::NoModifier);
}

bool DragAccepted(QWidget& window, const QList<QUrl>& urls) {
  QMimeData mime;
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  return enter.isAccepted();
}

}  // namespace

class UploadTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void commandLineAndDropsAreReadAsFiles() {
    AutoUploadPlan plan =
        PlanAutoUpload({"a.wav", "/dev", "/DF", "sub/b.wav", "/home/x.wav", ""}, QDir("/w"));
    QCOMPARE(plan.files, QStringList({"/w/a.wav", "/w/sub/b.wav", "/home/x.wav"}));
    QVERIFY(!plan.deleteMode);
    QVERIFY(PlanAutoUpload({"a.wav", "/del"}, QDir("/w")).deleteMode);

    const QList<QUrl> urls{QUrl("https://example.org/a.wav"),   QUrl::fromLocalFile("/t/B.WAV"),
                           QUrl::fromLocalFile("/t/notes.txt"), QUrl::fromLocalFile("/t/c.wav"),
                           QUrl::fromLocalFile("/t/d.Flac"),    QUrl::fromLocalFile("/t/e.aif")};
    QCOMPARE(DroppedAudioFiles(urls),
             QStringList({"/t/B.WAV", "/t/c.wav", "/t/d.Flac", "/t/e.aif"}));
  }

  // Left, right and the mix of a stereo file each land as their own wavesample, the first of
  // them in an instrument the sampler creates, with its layer, on the way.
  void stereoChannelsLandAsChosenInANewInstrument() {
    SimMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    wav::TempFolder folder;
    const Samples left = Ramp(300, -20001, 131), right = Ramp(300, 17001, -97);
    Samples frames;
    for (size_t i = 0; i < left.size(); ++i) frames.insert(frames.end(), {left[i], right[i]});
    WriteWav(In(folder, "stereo.wav"), 2, frames);
    QVERIFY(!machine.HasLayer(kNew, 0));

    // The first through the menu command, with the file typed into the dialog.
    form->UploadDownloadPath = QString::fromStdString(folder / "");
    bool keysReachTheDialog = false;
    {
      ModalWatch<TUploadForm> watch([&](TUploadForm* dialog) {
        keysReachTheDialog = QTest::qWaitFor([&] { return form->UploadDialogActive(); }, 2000);
        dialog->FileNameEdit->setText("stereo");
        dialog->CheckFile();
        Accept(dialog, kNew, &TUploadForm::LeftRadio);
      });
      form->Commands().Action(Cmd::Upload)->trigger();
      QCOMPARE(watch.Seen(), 1);
    }
    QVERIFY(keysReachTheDialog && !form->UploadDialogActive());
    for (auto channel : {&TUploadForm::RightRadio, &TUploadForm::MonoRadio}) {
      ModalWatch<TUploadForm> watch(
          [channel](TUploadForm* dialog) { Accept(dialog, kNew, channel); });
      const auto result = form->Transfers().UploadWave(In(folder, "stereo.wav"));
      QVERIFY2(result.Succeeded(), result.message.c_str());
    }
    Samples mix;
    for (size_t i = 0; i < left.size(); ++i)
      mix.push_back(static_cast<int16_t>(left[i] / 2 + right[i] / 2));
    QVERIFY(machine.HasLayer(kNew, 0));
    QCOMPARE(machine.Data(kNew, 1, left.size()), machine.Stored(left));
    QCOMPARE(machine.Data(kNew, 2, right.size()), machine.Stored(right));
    QCOMPARE(machine.Data(kNew, 3, mix.size()), machine.Stored(mix));
    QVERIFY(!form->Transfers().Running());
  }

  // A cancelled upload stops early, gives the window back and leaves the next upload working.
  void cancelDuringTheTransferLeavesTheProgramUsable() {
    kelvora::sim::SimOptions paced;
    paced.paced = true;
    SimMachine machine(paced);
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form->showNormal();
    wav::TempFolder folder;
    const Samples long_ = Ramp(6000, -30000, 10), short_ = Ramp(200, 500, -7);
    WriteWav(In(folder, "long.wav"), 1, long_);
    WriteWav(In(folder, "short.wav"), 1, short_);
    kelvora::dialogs::TStatusForm* status = form->Forms().StatusForm;
    bool mainEnabledDuringTransfer = true;
    QTimer canceller;
    connect(&canceller, &QTimer::timeout, [&] {
      if (!status->isVisible() || status->ProgressBar()->value() == 0) return;
      mainEnabledDuringTransfer = form->isEnabled();
      status->CancelButton()->click();
      canceller.stop();
    });
    canceller.start(5);
    kelvora::transfer::TransferResult result;
    {
      ModalWatch<TUploadForm> watch([](TUploadForm* dialog) { Accept(dialog, kNew); });
      result = form->Transfers().UploadWave(In(folder, "long.wav"));
    }
    QCOMPARE(result.outcome, TransferOutcome::Cancelled);
    QVERIFY(result.samples > 0 && result.samples < static_cast<int64_t>(long_.size()));
    QVERIFY(!mainEnabledDuringTransfer);
    QVERIFY(!status->isVisible());
    QVERIFY(form->isEnabled());
    QCOMPARE(form->Eps().UploadState, 0);

    ModalWatch<TUploadForm> watch([](TUploadForm* dialog) { Accept(dialog, kNew + 1); });
    result = form->Transfers().UploadWave(In(folder, "short.wav"));
    QVERIFY2(result.Succeeded(), result.message.c_str());
    QCOMPARE(machine.Data(kNew + 1, 1, short_.size()), machine.Stored(short_));
  }

  // Relative names mean the folder the program started in, even after the dialog moved the
  // current folder elsewhere (where a file of the same name waits). Both go, after their runs.
  void deleteModeUploadsAndDeletesEachNamedFile() {
    SimMachine machine;
    wav::TempFolder folder, elsewhere;
    const Samples a = Ramp(100, 1000, 3), b = Ramp(150, -1000, 5), decoy = Ramp(150, 7, 0);
    WriteWav(In(folder, "a.wav"), 1, a);
    WriteWav(In(folder, "b.wav"), 1, b);
    WriteWav(In(elsewhere, "b.wav"), 1, decoy);
    const QString before = QDir::currentPath();
    QDir::setCurrent(In(folder, ""));
    bool shown = false;
    std::unique_ptr<TMainForm> form;
    ModalWatch<TUploadForm> watch(
        [&](TUploadForm* dialog) {
          shown = shown || form->isVisible();
          Accept(dialog, kNew);
          QDir::setCurrent(In(elsewhere, ""));
        },
        2);
    form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings(),
                                          {"a.wav", "/DEL", "b.wav"});
    QSignalSpy closed(form.get(), &TMainForm::Closed);
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 20000);
    QDir::setCurrent(before);
    QCOMPARE(watch.Seen(), 2);
    QVERIFY(!shown && !form->isVisible());
    QCOMPARE(machine.Data(kNew, 1, a.size()), machine.Stored(a));
    QCOMPARE(machine.Data(kNew, 2, b.size()), machine.Stored(b));
    QVERIFY(!QFile::exists(In(folder, "a.wav")));
    QVERIFY(!QFile::exists(In(folder, "b.wav")));
    QVERIFY(QFile::exists(In(elsewhere, "b.wav")));
  }

  // "/dev" is a switch other than "/DEL": an absolute first name runs one upload, deletes nothing.
  void anAbsoluteNameAndAnotherSwitchDeleteNothing() {
    SimMachine machine;
    wav::TempFolder folder;
    WriteWav(In(folder, "a.wav"), 1, Ramp(100, 0, 9));
    ModalWatch<TUploadForm> watch([](TUploadForm* dialog) { Accept(dialog, kNew); }, 2);
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings(),
                                               {In(folder, "a.wav"), "/dev"});
    QSignalSpy closed(form.get(), &TMainForm::Closed);
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 20000);
    QCOMPARE(watch.Seen(), 1);
    QVERIFY(!form->isVisible());
    QCOMPARE(machine.Data(kNew, 1, 100), machine.Stored(Ramp(100, 0, 9)));
    QVERIFY(QFile::exists(In(folder, "a.wav")));
  }

  // A run cancelled in its dialog, a transfer the sampler refuses and a run in which the user
  // picked another file keep the named files; the refusal stops the run with no box that nobody
  // may be there to close.
  void unsuccessfulRunsKeepTheirFiles() {
    SimMachine machine;
    wav::TempFolder folder;
    for (const char* name : {"cancelled.wav", "refused.wav", "swapped.wav"}) {
      WriteWav(In(folder, name), 1, Ramp(50, 5, 2));
    }
    WriteWav(In(folder, "good.wav"), 1, Ramp(60, 9, 4));
    WriteWav(In(folder, "other.wav"), 1, Ramp(70, -9, 3));
    int runs = 0;
    ModalWatch<TUploadForm> watch(
        [&](TUploadForm* dialog) {
          if (++runs == 1) return dialog->Button3->click();
          kelvora::sim::FaultPlan faults;
          if (runs == 2)
            faults.forcedStatus[kelvora::protocol::kPutWsData] = kelvora::sim::kMemoryFull;
          machine.SetFaults(faults);
          if (runs == 4) {
            dialog->FileNameEdit->setText("other.wav");
            dialog->CheckFile();
          }
          Accept(dialog, kNew);
        },
        4);
    auto form = kelvora::testing::MakeMainForm(
        kelvora::testing::FreshSettings(),
        {In(folder, "cancelled.wav"), "/del", In(folder, "refused.wav"), In(folder, "good.wav"),
         In(folder, "swapped.wav")});
    QSignalSpy closed(form.get(), &TMainForm::Closed);
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 20000);
    QCOMPARE(runs, 4);
    for (const char* kept : {"cancelled.wav", "refused.wav", "swapped.wav", "other.wav"}) {
      QVERIFY2(QFile::exists(In(folder, kept)), kept);
    }
    QVERIFY(!QFile::exists(In(folder, "good.wav")));
    QCOMPARE(machine.Data(kNew, 1, 60), machine.Stored(Ramp(60, 9, 4)));
    QCOMPARE(machine.Data(kNew, 2, 70), machine.Stored(Ramp(70, -9, 3)));
  }

  // A dropped WAV file goes through the dialog once the drop has returned (several open the
  // multisample plan); nothing is deleted, the program goes on, and no drag is taken while it
  // runs.
  void aDroppedFileIsUploadedAndKept() {
    SimMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    wav::TempFolder folder;
    WriteWav(In(folder, "one.WAV"), 1, Ramp(80, 100, 3));
    const QList<QUrl> urls{QUrl::fromLocalFile(In(folder, "one.WAV"))};
    QVERIFY(!DragAccepted(*form, {QUrl::fromLocalFile(In(folder, "notes.txt"))}));
    QVERIFY(DragAccepted(*form, urls));

    bool dragTakenWhileRunning = false;
    ModalWatch<TUploadForm> watch([&](TUploadForm* dialog) {
      dragTakenWhileRunning = dragTakenWhileRunning || DragAccepted(*form, urls);
      Accept(dialog, kNew);
    });
    QSignalSpy closed(form.get(), &TMainForm::Closed);
    QMimeData mime;
    auto drop = DropOf(urls, mime);
    QApplication::sendEvent(form.get(), drop.get());
    QVERIFY(drop->isAccepted());
    QCOMPARE(watch.Seen(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(machine.Data(kNew, 1, 80), machine.Stored(Ramp(80, 100, 3)), 20000);
    QTRY_VERIFY(!form->Transfers().Running());
    QVERIFY(!dragTakenWhileRunning);
    QVERIFY(QFile::exists(In(folder, "one.WAV")));
    QVERIFY(form->isVisible());
    QCOMPARE(closed.count(), 0);
  }
};

QTEST_MAIN(UploadTest)
#include "app_upload_test.moc"
