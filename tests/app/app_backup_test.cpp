// Back Up Sampler... and Restore... from the window, on the demo content: the job's progress
// window, a backup stopped in its second file and resumed, and a restore that shows its plan.
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "app/CommandTable.h"
#include "app/MainForms.h"
#include "batch/BackupFolder.h"
#include "batch/JobProgress.h"
#include "batch/VerifyJob.h"
#include "dialogs/JobProgressForm.h"
#include "protocol/Eps.h"
#include "support/MainWindowTest.h"
#include "support/ModalWatch.h"
#include "support/Shots.h"
#include "support/TempFolder.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using kelvora::dialogs::JobProgressForm;
using kelvora::testing::ModalWatch;
using kelvora::testing::TempFolder;
using kelvora::testing::WhenModal;

namespace {

// The demo holds five wavesamples with data of their own (the copy is only a record).
constexpr int kDemoFiles = 5;

// Chooses `folder` in the folder dialog, typed as a user would.
std::unique_ptr<ModalWatch<QFileDialog>> Choose(const QString& folder, QString* caption = nullptr) {
  return std::make_unique<ModalWatch<QFileDialog>>([=](QFileDialog* dialog) {
    if (caption != nullptr) *caption = dialog->windowTitle();
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(folder);
    static_cast<QDialog*>(dialog)->accept();
  });
}

// Answers the next message box with `button` (its default when NoButton), keeping its text.
void Answer(QString* text, QMessageBox::StandardButton button = QMessageBox::NoButton) {
  WhenModal<QMessageBox>([=](QMessageBox* box) {
    *text = box->text();
    if (button == QMessageBox::NoButton) {
      box->defaultButton() != nullptr ? box->defaultButton()->click() : box->accept();
    } else {
      box->button(button)->click();
    }
  });
}

}  // namespace

class BackupTest : public kelvora::testing::MainWindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() { QVERIFY(ShowMainWindow(900, 520)); }
  void cleanup() { CloseMainWindow(); }

  void aBackupStoppedInItsSecondFileGoesOnFromThereWhenRunAgain() {
    TempFolder temp;
    const QString folder = QString::fromStdString(temp.Path());
    JobProgressForm& progress = *form_->Forms().JobForm;
    QStringList files;
    int overallAtCancel = -1;
    auto cancelInSecond = connect(&progress, &JobProgressForm::FileBegun, this, [&](int index) {
      files << progress.FileLabel()->text();
      if (index != 2) return;
      QVERIFY(progress.isVisible());
      QVERIFY(!form_->isEnabled());
      QCOMPARE(progress.JobLabel()->text(), QString("File 2 of %1").arg(kDemoFiles));
      overallAtCancel = progress.JobBar()->value();
      kelvora::testing::Shoot(&progress, "backup-progress");
      QTest::keyClick(&progress, Qt::Key_Escape);
    });
    QString caption, stopped;
    auto chosen = Choose(folder, &caption);
    Answer(&stopped);
    form_->Commands().Action(Cmd::BackUp)->trigger();
    disconnect(cancelInSecond);
    QCOMPARE(caption, QString("Back Up Sampler"));
    QCOMPARE(files.size(), 2);
    QVERIFY(overallAtCancel > 0);
    QVERIFY2(stopped.contains("stopped after 1 wavesample") && stopped.contains("goes on"),
             qPrintable(stopped));
    QVERIFY(!progress.isVisible());
    QVERIFY(form_->isEnabled());

    QStringList second;
    connect(&progress, &JobProgressForm::FileBegun, this,
            [&] { second << progress.FileLabel()->text(); });
    QString complete;
    auto again = Choose(folder);
    Answer(&complete);
    form_->Commands().Action(Cmd::BackUp)->trigger();
    QVERIFY2(complete.contains("is complete: 4 wavesamples transferred, 1 kept"),
             qPrintable(complete));
    QCOMPARE(second.first(), files.at(1));  // the stopped file is fetched again, whole
    QVERIFY(progress.Notes()->toPlainText().contains(files.at(0) + ": kept from the earlier run."));
    // What is in the folder is what the sampler holds.
    kelvora::batch::SilentProgress silent;
    const auto verified = kelvora::batch::VerifyJob(form_->Eps(), silent).Run(temp.Path());
    QVERIFY2(verified.Succeeded(), verified.message.c_str());
  }

  void aFolderWithAnotherBackupIsReplacedOnlyWhenTheUserSaysSo() {
    TempFolder temp;
    const QString folder = QString::fromStdString(temp.Path());
    QString text;
    auto first = Choose(folder);
    Answer(&text);
    form_->Commands().Action(Cmd::BackUp)->trigger();
    machine_->Sampler().Sampler().WithMemory(
        [](kelvora::sim::SamplerMemory& memory) { return memory.RemoveInstrument(1); });
    QString question;
    auto second = Choose(folder);
    Answer(&question, QMessageBox::Cancel);
    form_->Commands().Action(Cmd::BackUp)->trigger();
    QVERIFY2(question.contains("Replace the backup"), qPrintable(question));
    QVERIFY(QFile::exists(folder + "/instrument-2/ws-001.wav"));
    auto third = Choose(folder);
    Answer(&question);  // Replace, the default
    Answer(&text);
    form_->Commands().Action(Cmd::BackUp)->trigger();
    QVERIFY2(text.contains("is complete"), qPrintable(text));
    QVERIFY(!QFile::exists(folder + "/instrument-2/ws-001.wav"));
  }

  void aRestoreShowsWhereEachInstrumentGoesAndWhatItCannotBringBack() {
    TempFolder temp;
    const QString folder = QString::fromStdString(temp.Path());
    QString text;
    auto backup = Choose(folder);
    Answer(&text);
    form_->Commands().Action(Cmd::BackUp)->trigger();
    const auto sine = Data(0, 1);
    machine_->Sampler().Sampler().WithMemory(
        [](kelvora::sim::SamplerMemory& memory) { return memory.RemoveInstrument(0); });

    QString plan, caption, declined = "none";
    auto chosen = Choose(folder, &caption);
    Answer(&plan, QMessageBox::Cancel);
    form_->Commands().Action(Cmd::Restore)->trigger();
    QCOMPARE(caption, QString("Restore from Backup"));
    QVERIFY2(plan.contains("instrument 1 \"Demo Synth\" of the backup in instrument 1, with 3 "
                           "wavesamples"),
             qPrintable(plan));
    // Instruments 2 and 3 are still there: their copies go to the first free slots.
    QVERIFY2(plan.contains("instrument 3 \"Pad 2 Layers\" of the backup in instrument 5"),
             qPrintable(plan));
    QVERIFY2(plan.contains("What cannot be restored:") && plan.contains("Sine Copy"),
             qPrintable(plan));
    QVERIFY(!HasWaveSample(0, 1));  // declined: nothing was sent

    QString restored;
    auto again = Choose(folder);
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      kelvora::testing::Shoot(box, "restore-plan");
      box->defaultButton()->click();
      Answer(&restored);
    });
    form_->Commands().Action(Cmd::Restore)->trigger();
    QVERIFY2(restored.startsWith("Restored from '" + folder + "': 5 wavesamples"),
             qPrintable(restored));
    QCOMPARE(Data(0, 1), sine);
  }

 private:
  kelvora::sim::WaveData Data(int instrument, int waveSample) {
    auto& sampler = machine_->Sampler().Sampler();
    sampler.WaitIdle(std::chrono::seconds(5));
    return sampler.WithMemory([=](kelvora::sim::SamplerMemory& m) {
      const auto* data = m.Data(instrument, waveSample);
      return data ? *data : kelvora::sim::WaveData{};
    });
  }
  bool HasWaveSample(int instrument, int waveSample) {
    auto& sampler = machine_->Sampler().Sampler();
    sampler.WaitIdle(std::chrono::seconds(5));
    return sampler.WithMemory([=](kelvora::sim::SamplerMemory& m) {
      return m.WaveSample(instrument, waveSample) != nullptr;
    });
  }
};

QTEST_MAIN(BackupTest)
#include "app_backup_test.moc"
