// Upload Multisample... and dropped files against the simulated sampler: five files planned by
// their names' roots with ranges split halfway, a root typed into the plan, and Cancel inside the
// third file.
#include <QAction>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "app/CommandTable.h"
#include "app/MainForms.h"
#include "app/TransferCommands.h"
#include "dialogs/JobProgressForm.h"
#include "dialogs/MultisamplePlanForm.h"
#include "dialogs/UploadForm.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"
#include "support/FakeClock.h"
#include "support/MainWindowTest.h"
#include "support/ScopedClock.h"
#include "support/Shots.h"
#include "support/TempFolder.h"
#include "support/WhenModal.h"
#include "transfer/transfer_support.h"

using namespace kelvora::app;
using kelvora::dialogs::JobProgressForm;
using kelvora::dialogs::MultisamplePlanForm;
using kelvora::testing::WhenModal;

namespace {

// The demo fills instruments 1 to 3, so the plan goes into instrument 4 (index 3).
constexpr int kTarget = 3;
// Roots C2, E3, C4, G4, C6 from the names, listed out of order; the third in key order is the
// longest, so a cancel lands inside it.
const char* const kNames[] = {"Strings_C4.wav", "Strings_C2.wav", "Strings_G4.wav",
                              "Strings_E3.wav", "Strings_C6.wav"};
constexpr int kRoots[] = {36, 52, 60, 67, 84};
constexpr std::pair<int, int> kRanges[] = {{21, 44}, {45, 56}, {57, 63}, {64, 75}, {76, 108}};

int Length(const QString& name) { return name.contains("C4") ? 20000 : 2000 + name.size(); }

std::vector<int16_t> Signal(int length, int seed) {
  std::vector<int16_t> samples(length);
  for (int n = 0; n < length; ++n)
    samples[n] = static_cast<int16_t>((n * 37 + seed * 1001) % 20000);
  return samples;
}

}  // namespace

class MultisampleTest : public kelvora::testing::MainWindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    QVERIFY(ShowMainWindow(900, 520));
    for (int n = 0; n < 5; ++n) {
      const QString path = QString::fromStdString(folder_ / kNames[n]);
      kelvora::transfer::test::WriteMono16(path.toStdString(), Signal(Length(kNames[n]), n));
      files_ << path;
    }
  }
  void cleanup() {
    files_.clear();
    CloseMainWindow();
  }

  // Five files dropped on the window open the plan once the drop has returned.
  void fiveDroppedFilesArePlannedByTheirRootsAndUploaded() {
    QStringList rows;
    QString totals;
    WhenModal<MultisamplePlanForm>([&](MultisamplePlanForm* plan) {
      QCOMPARE(plan->InstrumentBox->value(), kTarget + 1);
      for (int row = 0; row < plan->Table->rowCount(); ++row) {
        QStringList cells;
        for (int c = 0; c < MultisamplePlanForm::kColumns - 1; ++c)
          cells << plan->Table->item(row, c)->text();
        rows << cells.join(' ');
      }
      totals = plan->Totals->text();
      kelvora::testing::Shoot(plan, "multisample-plan");
      plan->UploadButton->click();
    });
    QString report;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      report = box->text();
      box->accept();
    });
    QList<QUrl> urls;
    for (const QString& file : files_) urls << QUrl::fromLocalFile(file);
    QMimeData mime;
    mime.setUrls(urls);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);  // a drop comes only after its drag
    QVERIFY(enter.isAccepted());
    QApplication::sendEvent(form_.get(), &drop);
    QVERIFY(drop.isAccepted());
    QTRY_VERIFY_WITH_TIMEOUT(!report.isEmpty(), 20000);
    QTRY_VERIFY(!form_->Transfers().Running());
    QCOMPARE(rows, QStringList({"Strings_C2.wav 4/1/1 C2 A0 G#2 44100 Hz",
                                "Strings_E3.wav 4/1/2 E3 A2 G#3 44100 Hz",
                                "Strings_C4.wav 4/1/3 C4 A3 D#4 44100 Hz",
                                "Strings_G4.wav 4/1/4 G4 E4 D#5 44100 Hz",
                                "Strings_C6.wav 4/1/5 C6 E5 C8 44100 Hz"}));
    QVERIFY2(totals.startsWith("5 files: ") && totals.contains("on the wire"), qPrintable(totals));
    QCOMPARE(report, QString("5 of the 5 files went into instrument 4."));
    for (int n = 0; n < 5; ++n) {
      const int ws = n + 1;
      QCOMPARE(Word(ws, kelvora::protocol::kWsRootKey) >> 8, kRoots[n]);
      QCOMPARE(Word(ws, kelvora::protocol::kWsLowKey) >> 8, kRanges[n].first);
      QCOMPARE(Word(ws, kelvora::protocol::kWsHighKey) >> 8, kRanges[n].second);
    }
  }

  // A dropped folder stands for its audio files, by name; other files in it are left out.
  void aDroppedFolderIsPlannedWithItsAudioFiles() {
    kelvora::transfer::test::WriteMono16(folder_ / "notes.txt", {1, 2, 3});
    QStringList planned;
    WhenModal<MultisamplePlanForm>([&](MultisamplePlanForm* plan) {
      for (int row = 0; row < plan->Table->rowCount(); ++row)
        planned << plan->Table->item(row, MultisamplePlanForm::kFile)->text();
      plan->CancelButton->click();
    });
    const QList<QUrl> urls{QUrl::fromLocalFile(QString::fromStdString(folder_.Path()))};
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &drop);
    QTRY_COMPARE(planned.size(), 5);
    QCOMPARE(planned, QStringList({"Strings_C2.wav", "Strings_E3.wav", "Strings_C4.wav",
                                   "Strings_G4.wav", "Strings_C6.wav"}));
    QTRY_VERIFY(!form_->Transfers().Running());
    QVERIFY(!HasInstrument(kTarget));  // nothing was sent
  }

  // Several files chosen with Select... in the upload dialog go to the plan instead.
  void severalFilesChosenInTheUploadDialogOpenThePlan() {
    int rows = 0;
    WhenModal<kelvora::dialogs::TUploadForm>([&](kelvora::dialogs::TUploadForm* dialog) {
      dialog->ChooseFile = [&](const QString&) { return files_.mid(0, 3); };
      WhenModal<MultisamplePlanForm>([&](MultisamplePlanForm* plan) {
        rows = plan->Table->rowCount();
        plan->CancelButton->click();
      });
      dialog->SelectButton->click();
    });
    form_->Commands().Action(Cmd::Upload)->trigger();
    QCOMPARE(rows, 3);
    QVERIFY(!form_->Transfers().UploadForm().isVisible());
    QVERIFY(!HasInstrument(kTarget));
  }

  // A root typed into the plan plans the ranges again; a cancel inside the third file keeps the
  // first two, and the session goes on in step with the sampler.
  void cancelInsideTheThirdFileKeepsTheFirstTwo() {
    form_->Eps().BlockSize = 1000;
    WhenModal<MultisamplePlanForm>([&](MultisamplePlanForm* plan) {
      QTableWidgetItem* root = plan->Table->item(1, MultisamplePlanForm::kRoot);
      root->setText("G3");  // 55 for 52: both splits around it move up
      QCOMPARE(plan->Table->item(0, MultisamplePlanForm::kHigh)->text(), QString("A2"));
      QCOMPARE(plan->Table->item(1, MultisamplePlanForm::kLow)->text(), QString("A#2"));
      QCOMPARE(plan->Table->item(1, MultisamplePlanForm::kHigh)->text(), QString("A3"));
      QCOMPARE(plan->Table->item(1, MultisamplePlanForm::kRoot)->text(), QString("G3"));
      plan->UploadButton->click();
    });
    JobProgressForm& progress = *form_->Forms().JobForm;
    int third = 0;
    auto cancel = connect(progress.FileBar(), &QProgressBar::valueChanged, this, [&](int value) {
      if (progress.JobLabel()->text() == "File 3 of 5" && value > 0 && third++ == 0)
        progress.CancelButton()->click();
    });
    QString report;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      report = box->text();
      box->accept();
    });
    form_->Transfers().UploadMultisample(files_);
    disconnect(cancel);
    QVERIFY2(report.startsWith("2 of the 5 files went into instrument 4.") &&
                 report.contains("Strings_C4.wav' did not go into 4/1/3: stopped with"),
             qPrintable(report));
    QCOMPARE(Word(2, kelvora::protocol::kWsRootKey) >> 8, 55);
    QCOMPARE(Data(1, Length("Strings_C2.wav")), Signal(Length("Strings_C2.wav"), 1));
    QCOMPARE(Data(2, Length("Strings_E3.wav")), Signal(Length("Strings_E3.wav"), 3));
    QVERIFY(form_->Eps().ReadConfig());
    QVERIFY(form_->Eps().InstrInUse[kTarget]);
    QVERIFY(form_->isEnabled());
  }

 private:
  int Word(int waveSample, int index) {
    auto& sampler = machine_->Sampler().Sampler();
    sampler.WaitIdle(std::chrono::seconds(5));
    return sampler.WithMemory([=](kelvora::sim::SamplerMemory& m) {
      return int(m.WaveSample(kTarget, waveSample)->record.at(index));
    });
  }
  bool HasInstrument(int instrument) {
    auto& sampler = machine_->Sampler().Sampler();
    sampler.WaitIdle(std::chrono::seconds(5));
    return sampler.WithMemory(
        [=](kelvora::sim::SamplerMemory& m) { return m.WaveSample(instrument, 1) != nullptr; });
  }
  // The first `length` samples (the upload ends the data with two silent words).
  std::vector<int16_t> Data(int waveSample, int length) {
    auto& sampler = machine_->Sampler().Sampler();
    sampler.WaitIdle(std::chrono::seconds(5));
    return sampler.WithMemory([=](kelvora::sim::SamplerMemory& m) {
      const auto* data = m.Data(kTarget, waveSample);
      if (data == nullptr || int(data->size()) < length) return std::vector<int16_t>{};
      return std::vector<int16_t>(data->begin(), data->begin() + length);
    });
  }

  // Virtual time: the two 2-second pauses after the key range of each file pass at once.
  kelvora::testing::FakeClock clock_{1000};
  kelvora::testing::ScopedClock useClock_{clock_};
  kelvora::testing::TempFolder folder_;
  QStringList files_;
};

QTEST_MAIN(MultisampleTest)
#include "app_multisample_test.moc"
