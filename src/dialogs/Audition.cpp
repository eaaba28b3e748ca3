#include "dialogs/Audition.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace kelvora::dialogs {

namespace {
const QString kCaption = QStringLiteral("Audition");
}

TAudition::TAudition(QWidget* owner) : QObject(owner), owner_(owner) {}

TAudition::~TAudition() { Stop(); }

bool TAudition::Play(const QString& path) {
  lastPath_ = path;
  if (QMediaDevices::audioOutputs().isEmpty()) {
    QMessageBox::warning(
        owner_, kCaption,
        QStringLiteral("The file cannot be played: this computer has no sound output device."));
    return false;
  }
  if (player_ == nullptr) {
    player_ = new QMediaPlayer(this);
    output_ = new QAudioOutput(this);
    player_->setAudioOutput(output_);
    connect(player_, &QMediaPlayer::errorOccurred, this, &TAudition::PlayerFailed);
  }
  player_->stop();
  output_->setDevice(QMediaDevices::defaultAudioOutput());
  player_->setSource(QUrl::fromLocalFile(path));
  player_->play();
  return true;
}

void TAudition::Stop() {
  if (player_ != nullptr) player_->stop();
}

bool TAudition::IsPlaying() const {
  return player_ != nullptr && player_->playbackState() == QMediaPlayer::PlayingState;
}

void TAudition::PlayerFailed() {
  const QString reason = player_->errorString();
  player_->stop();
  QMessageBox::warning(owner_, kCaption,
                       QStringLiteral("The file '%1' cannot be played: %2")
                           .arg(player_->source().toLocalFile(),
                                reason.isEmpty() ? QStringLiteral("unknown error") : reason));
}

}  // namespace kelvora::dialogs
