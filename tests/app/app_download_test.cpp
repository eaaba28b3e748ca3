#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include "app/CommandTable.h"
#include "app/DownloadCommand.h"
#include "app/MainForms.h"
#include "dialogs/NoInstrForm.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/StatusForm.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"
#include "support/DebugLogCapture.h"
#include "support/MainWindowTest.h"
#include "support/ModalWatch.h"
#include "support/Shots.h"
#include "support/TempFolder.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using kelvora::dialogs::TNoInstrForm;
using kelvora::dialogs::TOpenWaveForm;
using kelvora::testing::ModalWatch;

namespace {

kelvora::sim::SimOptions Paced() {
  kelvora::sim::SimOptions options;
  options.paced = true;
  return options;
}

// Demo instrument 1 "DEMO SYNTH": row 0 SINE, row 1 DECAY SAW (22050 samples).
void ChooseInBrowser(int waveSampleRow) {
  kelvora::testing::WhenModal<TOpenWaveForm>([=](TOpenWaveForm* browser) {
    browser->InstrumentListBox->setCurrentRow(0);
    browser->WaveSampleListBox->setCurrentRow(waveSampleRow);
    browser->OkButton->click();
  });
}

std::unique_ptr<ModalWatch<QFileDialog>> SaveAs(const QString& path,
                                                QString* startFolder = nullptr) {
  return std::make_unique<ModalWatch<QFileDialog>>([=](QFileDialog* dialog) {
    if (startFolder != nullptr) *startFolder = dialog->directory().absolutePath();
    // Typed as a whole path, as a user may, so a folder that does not exist is not lost.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (name != nullptr)
      name->setText(path);
    else
      dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
  });
}

struct Answer {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

std::unique_ptr<ModalWatch<QMessageBox>> Answers(std::vector<Answer>& answers) {
  return std::make_unique<ModalWatch<QMessageBox>>(
      [&answers](QMessageBox* box) {
        answers.push_back({box->windowTitle(), box->text(), box->icon()});
        box->accept();
      },
      100);
}

uint32_t Le32(const QByteArray& bytes, int at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
         static_cast<uint8_t>(bytes[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The RIFF and data sizes announce exactly the bytes that follow; samples in the file.
int ConsistentSamples(const QByteArray& wav) {
  if (wav.size() < 44 || !wav.startsWith("RIFF") || wav.mid(36, 4) != "data") return -1;
  if (Le32(wav, 4) != static_cast<uint32_t>(wav.size() - 8)) return -1;
  // After the samples comes the smpl chunk that tells other programs the loop and root key.
  const qsizetype end = 44 + static_cast<qsizetype>(Le32(wav, 40));
  if (end + 8 > wav.size() || wav.mid(end, 4) != "smpl") return -1;
  if (end + 8 + static_cast<qsizetype>(Le32(wav, end + 4)) != wav.size()) return -1;
  return (end - 44) / 2;
}

QString Sox(const QString& sox, const QString& option, const QString& path) {
  QProcess process;
  process.start(sox, {"--i", option, path});
  process.waitForFinished(10000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

}  // namespace

class DownloadTest : public kelvora::testing::MainWindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    folder_ = kelvora::testing::ScratchFolder() + "/downloads";
    QDir().mkpath(folder_);
  }
  void cleanup() { CloseMainWindow(); }

  void chosenWaveSampleBecomesAWavFile() {
    Start({});
    const QString path = folder_ + "/saw.wav";
    QFile::remove(path);
    form_->UploadDownloadPath = kelvora::testing::ScratchFolder();
    QString startFolder;
    std::vector<Answer> answers;
    auto answer = Answers(answers);
    ChooseInBrowser(1);
    auto save = SaveAs(path, &startFolder);
    DownloadCommand(*form_).Run();

    QVERIFY(answers.empty());
    QCOMPARE(startFolder, QDir(kelvora::testing::ScratchFolder()).absolutePath());
    QCOMPARE(form_->UploadDownloadPath, folder_);
    const kelvora::sim::WaveData expected = machine_->Sampler().Sampler().WithMemory(
        [](kelvora::sim::SamplerMemory& memory) { return *memory.Data(0, 2); });
    const QByteArray wav = ReadAll(path);
    QCOMPARE(ConsistentSamples(wav), 22050);
    QCOMPARE(static_cast<size_t>(ConsistentSamples(wav)), expected.size());
    QVERIFY(std::memcmp(wav.constData() + 44, expected.data(), 2 * expected.size()) == 0);
    QVERIFY(form_->isEnabled());
    QCOMPARE(form_->WaitCount(), 0);

    const QString sox = QStandardPaths::findExecutable("sox");
    if (sox.isEmpty()) QSKIP("sox is not installed; the file was checked without it");
    QCOMPARE(Sox(sox, "-r", path), QString("44100"));
    QCOMPARE(Sox(sox, "-s", path), QString("22050"));
  }

  void openWaveSampleNeedsNoBrowser() {
    Start({});
    ChooseInBrowser(0);
    form_->Commands().Action(Cmd::OpenWavesample)->trigger();
    QVERIFY(form_->Eps().WsOpen);
    const int samples =
        kelvora::protocol::GetPosition(form_->Eps().WsParams, kelvora::protocol::kWsSampleEnd) -
        kelvora::protocol::GetPosition(form_->Eps().WsParams, kelvora::protocol::kWsSampleStart);
    const QString path = folder_ + "/sine.wav";
    QFile::remove(path);
    ModalWatch<TOpenWaveForm> browser([](TOpenWaveForm* b) { b->CancelButton->click(); });
    auto save = SaveAs(path);
    DownloadCommand(*form_).Run();
    QCOMPARE(browser.Seen(), 0);
    QCOMPARE(ConsistentSamples(ReadAll(path)), samples);
    QVERIFY(form_->Eps().WsOpen);
  }

  void cancelLeavesAConsistentFileAndAUsableProgram() {
    Start(Paced());
    form_->Eps().BlockSize = 256;
    const QString path = folder_ + "/cancelled.wav";
    QFile::remove(path);
    kelvora::dialogs::TStatusForm* status = form_->Forms().StatusForm;
    bool mainDisabled = false;
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, [&] {
      if (!status->isVisible() || status->TimeLabel()->text() == "Time left : ???") return;
      watch.stop();
      mainDisabled = !form_->isEnabled();
      QVERIFY(kelvora::testing::ColourCount(kelvora::testing::Shoot(status, "download-progress")) >
              2);
      QTest::mouseClick(status->CancelButton(), Qt::LeftButton);
    });
    watch.start();
    std::vector<Answer> answers;
    auto answer = Answers(answers);
    ChooseInBrowser(1);
    auto save = SaveAs(path);
    DownloadCommand(*form_).Run();

    QVERIFY(mainDisabled);
    QVERIFY(form_->isEnabled());
    QVERIFY(!status->isVisible());
    QCOMPARE(form_->WaitCount(), 0);
    const int held = ConsistentSamples(ReadAll(path));
    QVERIFY(held > 0 && held < 22050);
    QCOMPARE(answers.size(), size_t{1});
    QVERIFY(answers[0].text.contains("cancelled"));
    QVERIFY(answers[0].text.contains(
        QString("incomplete: it holds %1 of the 22050 samples").arg(held)));

    // The sampler's late answers to the cancelled request must not be read as the next ones,
    // which left the browser without instruments.
    ModalWatch<TNoInstrForm> noInstruments([](TNoInstrForm* form) { form->CancelButton->click(); });
    ChooseInBrowser(0);
    form_->Commands().Action(Cmd::OpenWavesample)->trigger();
    QCOMPARE(noInstruments.Seen(), 0);
    QVERIFY(form_->Eps().WsOpen);
  }

  void uncreatableDestinationIsReportedAndForgotten() {
    Start({});
    const QString path = folder_ + "/no such folder/out.wav";
    form_->UploadDownloadPath = kelvora::testing::ScratchFolder();
    std::vector<Answer> answers;
    auto answer = Answers(answers);
    kelvora::testing::DebugLogCapture log;
    ChooseInBrowser(1);
    auto save = SaveAs(path);
    DownloadCommand(*form_).Run();

    QCOMPARE(answers.size(), size_t{1});
    QCOMPARE(answers[0].title, QString("Kelvora"));
    QCOMPARE(answers[0].icon, QMessageBox::Warning);
    QCOMPARE(
        answers[0].text,
        "Unable to create destination file '" + path +
            "'. \nPlease check the filename. Also make "
            "sure you've got write permissions to the designated folder, and that you haven't run "
            "out of disk space.");
    QVERIFY(QString::fromStdString(log.Text()).contains("Unable to write download file" + path));
    QCOMPARE(form_->UploadDownloadPath, kelvora::testing::ScratchFolder());
    QVERIFY(!QFile::exists(path));
    QVERIFY(form_->isEnabled());
  }

  void emptyWaveSampleIsRefusedBeforeAnyFile() {
    Start({});
    machine_->Sampler().Sampler().WithMemory([](kelvora::sim::SamplerMemory& memory) {
      kelvora::sim::WsRecord record = memory.WaveSample(0, 2)->record;
      const int start =
          kelvora::protocol::GetPosition(record.data(), kelvora::protocol::kWsSampleStart);
      kelvora::protocol::SetPosition(record.data(), kelvora::protocol::kWsSampleEnd, start);
      memory.PutWsRecord(0, 2, record.data());
    });
    std::vector<Answer> answers;
    auto answer = Answers(answers);
    ModalWatch<QFileDialog> save([](QFileDialog* dialog) { dialog->reject(); });
    ChooseInBrowser(1);
    DownloadCommand(*form_).Run();
    QCOMPARE(save.Seen(), 0);
    QCOMPARE(answers.size(), size_t{1});
    QVERIFY(answers[0].text.contains("nothing to download"));
    QVERIFY(form_->isEnabled());
  }

 private:
  void Start(const kelvora::sim::SimOptions& options) {
    QVERIFY(ShowMainWindow(900, 520, options));
  }

  QString folder_;
};

QTEST_MAIN(DownloadTest)
#include "app_download_test.moc"
