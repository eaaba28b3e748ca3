#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "dialogs/AboutForm.h"
#include "dialogs/GotoPrefForm.h"
#include "protocol/SessionUi.h"
#include "support/WhenModal.h"
#include "support/WindowTest.h"

using kelvora::dialogs::TAboutForm;
using kelvora::dialogs::TGotoPrefForm;
using kelvora::testing::WhenModal;
namespace protocol = kelvora::protocol;

class GuidanceTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void welcomeTextsKeepTheirTrailingBlanks() {
    TGotoPrefForm form;
    QCOMPARE(form.windowTitle(), QString("Welcome"));
    QCOMPARE(form.TitleLabel->text(), QString("Welcome to Kelvora"));
    QVERIFY(form.TitleLabel->font().bold());
    QStringList texts;
    for (QLabel* label : form.findChildren<QLabel*>()) texts << label->text();
    for (const char* line :
         {"By pressing the continue button ", "Kelvora will take you to the ",
          "Preferences dialog. Here you will ", "have to specify the Midi device, ",
          "and channel , that your EPS/ASR ", "is connected to.   "}) {
      QVERIFY2(texts.contains(line), line);
    }
    QCOMPARE(form.Button1->text(), QString("Continue ->"));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
  }

  void welcomeResults() {
    TGotoPrefForm form;
    WhenModal<TGotoPrefForm>([](TGotoPrefForm* shown) { shown->Button1->click(); });
    QCOMPARE(form.Execute(), int(protocol::mrOk));
    WhenModal<TGotoPrefForm>([](TGotoPrefForm* shown) { shown->close(); });
    QCOMPARE(form.Execute(), int(protocol::mrCancel));
  }

  void aboutShowsVersionTwoPointFour() {
    TAboutForm form;
    QCOMPARE(form.VersionLabel->text(), QString("Version 2.4"));
    WhenModal<TAboutForm>([](TAboutForm* shown) { shown->OkButton->click(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(GuidanceTest)
#include "guidance_test.moc"
