#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/Commands.h"
#include "app/StatusPanels.h"
#include "app/WaitCursor.h"
#include "protocol/SessionUi.h"
#include "transfer/DownloadWriter.h"

namespace kelvora::protocol {
class TEps;
}
namespace kelvora::editor {
class WaveView;
}

namespace kelvora::app {

class CommandTable;
class EditCommands;
class InfoStrip;
class LoopTools;
class SeamPanel;
class MainCommands;
class TransferCommands;
struct MainForms;

// The main window "Kelvora": menus, tool bar, the waveform view and the status bar. It owns the
// one sampler session and is the session's user interface. The commands live in their own
// classes; this class holds the window, its state and the start-up and shutdown steps.
class TMainForm : public QMainWindow, public protocol::SessionUi {
  Q_OBJECT

 public:
  struct Options {
    QStringList arguments;  // command line after the program name
    QString settingsPath;   // the INI file
  };

  explicit TMainForm(const Options& options, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The session's user interface.
  void BeginWait() override;
  void EndWait() override;
  void UpdateCommands() override;
  void RefreshView() override;
  int ShowNoEps(protocol::TNoEpsReason reason) override;
  void ShowInvalidWaveSample() override;
  void ShowWaveSampleIsCopy() override;
  bool UploadDialogActive() override;
  void KeyPlayed(int key) override;

  void ResetView();
  void UpdateStatusBar();
  void SetVerticalScale(int index);
  void StatusBarMouseDown(int panel);
  // Runs a command as if the user had chosen it, once the event loop is running.
  void PostCommand(Cmd command);

  CommandState CurrentCommandState() const;
  StatusState CurrentStatusState() const;

  protocol::TEps& Eps() { return *eps_; }
  editor::WaveView& View() { return *view_; }
  CommandTable& Commands() { return *commands_; }
  StatusPanels& StatusBar() { return *statusBar_; }
  MainForms& Forms() { return *forms_; }
  TransferCommands& Transfers() { return *transfers_; }
  InfoStrip& Strip() { return *strip_; }
  SeamPanel& Seam() { return *seamPanel_; }
  LoopTools& Loops() { return *loops_; }
  const QStringList& Arguments() const { return arguments_; }
  bool FirstRun() const { return firstRun_; }
  int WaitCount() const { return wait_.WaitCount(); }

  QString UploadDownloadPath;
  // The file a download writes, as the preferences chose it.
  transfer::DownloadFormat& DownloadFileFormat() { return downloadFormat_; }

 Q_SIGNALS:
  // FormClose has run: the settings are saved and the program may end.
  void Closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // WAV files dropped on the window are uploaded one after the other.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildLayout();
  void FormCreate();
  void ReadSettings();
  void FormClose();
  void ApplicationHint(const QString& hint);
  int SavedWindowState() const;

  QStringList arguments_;
  QString settingsPath_;
  bool firstRun_ = false;
  bool closed_ = false;
  WaitCursor wait_;
  protocol::TEps* eps_;
  editor::WaveView* view_ = nullptr;
  CommandTable* commands_ = nullptr;
  StatusPanels* statusBar_ = nullptr;
  SeamPanel* seamPanel_ = nullptr;
  InfoStrip* strip_ = nullptr;
  LoopTools* loops_ = nullptr;
  transfer::DownloadFormat downloadFormat_;
  std::unique_ptr<MainForms> forms_;
  std::unique_ptr<MainCommands> main_;
  std::unique_ptr<EditCommands> edits_;
  std::unique_ptr<TransferCommands> transfers_;
};

}  // namespace kelvora::app
