#include <sys/wait.h>
#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "app/SingleInstance.h"
#include "support/WindowTest.h"

using kelvora::app::SingleInstance;

class InstanceTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void secondHolderIsRefusedUntilTheFirstEnds() {
    QTemporaryDir folder;
    auto first = std::make_unique<SingleInstance>(folder.path());
    QVERIFY(first->TryAcquire());
    SingleInstance second(folder.path());
    QVERIFY(!second.TryAcquire());
    first.reset();
    QVERIFY(second.TryAcquire());
  }

  // The program runs for hours: the age of the lock must not make it look abandoned.
  void oldLockOfARunningInstanceStillHolds() {
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    QVERIFY(first.TryAcquire());
    QFile lock(first.LockPath());
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-1),
                             QFileDevice::FileModificationTime));
    lock.close();
    SingleInstance second(folder.path());
    QVERIFY(!second.TryAcquire());
  }

  void lockOfACrashedRunIsTakenOver() {
    QTemporaryDir folder;
    const pid_t child = fork();
    if (child == 0) {
      SingleInstance crashed(folder.path());
      _exit(crashed.TryAcquire() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(WEXITSTATUS(status), 0);
    SingleInstance next(folder.path());
    QVERIFY(QFile::exists(next.LockPath()));
    QVERIFY(next.TryAcquire());
  }

  void secondProgramEndsAtOnceWithZero() {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SingleInstance running(runtime.path());
    QVERIFY(running.TryAcquire());
    QTemporaryDir config;
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("XDG_CONFIG_HOME", config.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.start(KELVORA_PROGRAM, {});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(!QFile::exists(config.path() + "/Kelvora/Kelvora.ini"));
  }
};

QTEST_MAIN(InstanceTest)
#include "app_instance_test.moc"
