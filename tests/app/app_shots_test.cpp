#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include "app/HelpWindow.h"
#include "app/MainForms.h"
#include "dialogs/AboutForm.h"
#include "dialogs/GotoPrefForm.h"
#include "dialogs/NoEpsForm.h"
#include "dialogs/PreferencesForm.h"
#include "editor/WaveView.h"
#include "support/MainWindowTest.h"
#include "support/Shots.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using kelvora::testing::ColourCount;
using kelvora::testing::Shoot;
using kelvora::testing::WhenModal;
namespace protocol = kelvora::protocol;

// Pictures of the main window and of every dialog of the application, for review.
class ShotsTest : public kelvora::testing::MainWindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() { QVERIFY(ShowMainWindow(800, 480)); }
  void cleanup() { CloseMainWindow(); }

  void mainWindowWithNothingOpen() {
    const QImage shot = Shoot(form_.get(), "main-window-empty");
    QVERIFY(ColourCount(shot) > 8);
    const QPoint inView = form_->View().mapTo(form_.get(), form_->View().rect().center());
    QCOMPARE(shot.pixelColor(inView * shot.devicePixelRatio()), QColor(192, 192, 192));
  }

  void modalDialogs() {
    MainForms& forms = form_->Forms();
    QImage preferences, welcome, about, noAnswer, noInput;
    WhenModal<kelvora::dialogs::TPreferencesForm>([&](kelvora::dialogs::TPreferencesForm* f) {
      preferences = Shoot(f, "preferences");
      f->CancelButton->click();
    });
    forms.PreferencesForm->Execute();
    WhenModal<kelvora::dialogs::TGotoPrefForm>([&](kelvora::dialogs::TGotoPrefForm* f) {
      welcome = Shoot(f, "welcome");
      f->close();
    });
    forms.GotoPrefForm->Execute();
    WhenModal<kelvora::dialogs::TAboutForm>([&](kelvora::dialogs::TAboutForm* f) {
      about = Shoot(f, "about");
      f->OkButton->click();
    });
    forms.AboutForm->exec();
    for (auto [reason, name, image] :
         {std::tuple{protocol::nrNoAnswer, "no-eps-no-answer", &noAnswer},
          std::tuple{protocol::nrMidiInFailed, "no-eps-midi-in", &noInput}}) {
      WhenModal<kelvora::dialogs::TNoEpsForm>([&, name = name, image = image](auto* f) {
        *image = Shoot(f, name);
        f->OkButton->click();
      });
      forms.NoEpsForm->Execute(reason);
    }
    for (const QImage* image : {&preferences, &welcome, &about, &noAnswer, &noInput}) {
      QVERIFY(!image->isNull());
      QVERIFY(ColourCount(*image) > 4);
    }
    QVERIFY(noAnswer.height() >= noInput.height());
  }

  void helpContentsAndTopics() {
    HelpWindow* help = form_->Forms().Help;
    help->ShowContents();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(help->Browser()->documentTitle(), QString("Kelvora Help"));
    Shoot(help, "help-contents");
    help->ShowTopic(2);
    QCOMPARE(help->Browser()->documentTitle(), QString("Preferences"));
    help->ShowTopic(3);
    QCOMPARE(help->Browser()->documentTitle(), QString("When Kelvora cannot reach the sampler"));
    help->ShowTopic(4);
    QCOMPARE(help->Browser()->documentTitle(), QString("Uploading WAV files"));
    Shoot(help, "help-upload");
    help->Search("system disk");
    QStringList listed;
    for (int row = 0; row < help->Topics()->count(); ++row) {
      if (!help->Topics()->item(row)->isHidden()) listed << help->Topics()->item(row)->text();
    }
    QVERIFY(listed.contains("When Kelvora cannot reach the sampler"));
    QVERIFY(!listed.contains("Downloading wavesamples"));
    help->close();
  }
};

QTEST_MAIN(ShotsTest)
#include "app_shots_test.moc"
