#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "batch/JobProgress.h"

class QCloseEvent;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kelvora::dialogs {

// The progress window of a job over many files (a backup, a restore, a multisample upload): an
// overall bar over all the job's samples, the current file's name and bar, and the notes the job
// makes. Like the transfer's status window it disables the main window while shown and the job
// runs on the user-interface thread: Cancel, Esc and the close box only raise a flag the job
// polls, and each poll lets the window's events through.
class JobProgressForm : public QDialog, public batch::JobProgress {
  Q_OBJECT

 public:
  explicit JobProgressForm(QWidget* mainWindow);

  // Shows the window titled `caption`; End hides it and gives the main window back.
  void Begin(const QString& caption);
  void End();

  void JobStarted(int files, int64_t samples) override;
  void FileStarted(const std::string& label, int64_t samples) override;
  void FileProgress(int64_t samplesDone) override;
  void FileFinished(bool ok) override;
  void Note(const std::string& text) override;
  bool Cancelled() override;

  QLabel* JobLabel() const { return jobLabel_; }
  QProgressBar* JobBar() const { return jobBar_; }
  QLabel* FileLabel() const { return fileLabel_; }
  QProgressBar* FileBar() const { return fileBar_; }
  QPlainTextEdit* Notes() const { return notes_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  void reject() override;

 Q_SIGNALS:
  // A file began; `index` counts from 1 in the order the job takes them.
  void FileBegun(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowJob();

  QWidget* mainWindow_;
  QLabel* jobLabel_;
  QProgressBar* jobBar_;
  QLabel* fileLabel_;
  QProgressBar* fileBar_;
  QPlainTextEdit* notes_;
  QPushButton* cancelButton_;
  int files_ = 0;
  int filesBegun_ = 0;
  int64_t samples_ = 0;
  int64_t samplesBefore_ = 0;  // of the files finished
  int64_t fileSamples_ = 0;
  int64_t fileDone_ = 0;
  bool cancelled_ = false;
};

}  // namespace kelvora::dialogs
