#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;
class QWidget;

namespace kelvora::dialogs {

// Plays a WAV file through the computer's sound device so the user can hear it before uploading.
// Every failure (no sound device, a file the player cannot play) is told to the user in a message
// box owned by the given window; playing never blocks.
class TAudition : public QObject {
 public:
  explicit TAudition(QWidget* owner);
  ~TAudition() override;

  // Starts playing path from its beginning, stopping what played before. False (after the
  // message) when there is no sound device to play on.
  bool Play(const QString& path);
  void Stop();
  bool IsPlaying() const;
  // The file Play was given last, whether or not it could play.
  const QString& LastPath() const { return lastPath_; }

 private:
  void PlayerFailed();

  QWidget* owner_;
  QString lastPath_;
  QMediaPlayer* player_ = nullptr;  // made on first use: creating it probes the media backend
  QAudioOutput* output_ = nullptr;
};

}  // namespace kelvora::dialogs
