#pragma once

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTemporaryDir>
#include <functional>

#include "dialogs/UploadForm.h"
#include "support/ModalWatch.h"
#include "support/SimSession.h"

namespace kelvora::dialogs::test {

using kelvora::testing::ModalWatch;
using kelvora::testing::SimSession;

// A PCM WAV file of 100 frames of silence; with a root key, a smpl chunk names it.
void WriteWav(const QString& path, int channels, int bits = 16, quint32 rate = 44100,
              int rootKey = -1);

// The demo sampler and a folder with mono.wav, stereo.wav and stereo2.wav, which is also the
// main window's folder.
struct Upload {
  SimSession session{SimSession::DemoOptions()};
  QTemporaryDir dir;
  QString folder = dir.path();
  TUploadForm form{*session.eps, folder};

  Upload() {
    session.Connect();
    WriteWav(File("mono.wav"), 1);
    WriteWav(File("stereo.wav"), 2);
    WriteWav(File("stereo2.wav"), 2);
  }
  QString File(const QString& name) const { return dir.filePath(name); }
  // Runs the dialog with `act` inside it; a failed check in the act cancels the dialog.
  int Run(const QString& fileName, const std::function<void()>& act) {
    ModalWatch<TUploadForm> watch([&](TUploadForm*) {
      act();
      if (form.isVisible()) form.reject();
    });
    return form.Execute(fileName);
  }
  void Name(const QString& text) {
    form.FileNameEdit->setText(text);
    form.CheckFile();
  }
  bool ChannelsEnabled() const {
    return form.MonoRadio->isEnabled() && form.LeftRadio->isEnabled() &&
           form.RightRadio->isEnabled();
  }
  bool ChannelsDisabled() const {
    return !form.MonoRadio->isEnabled() && !form.LeftRadio->isEnabled() &&
           !form.RightRadio->isEnabled();
  }
  // Presses Upload; the text of the message box it shows ("" for none) and whether the dialog
  // is still open afterwards.
  QString UploadMessage(bool& stillOpen) {
    QString text;
    ModalWatch<QMessageBox> box([&](QMessageBox* b) {
      text = b->windowTitle() + ": " + b->text();
      b->accept();
    });
    form.UploadButton->click();
    stillOpen = form.isVisible();
    return text;
  }
};

}  // namespace kelvora::dialogs::test
