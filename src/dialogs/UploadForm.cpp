#include "dialogs/UploadForm.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/Audition.h"
#include "dialogs/HelpLink.h"
#include "dialogs/KeyName.h"
#include "dialogs/PortFailure.h"
#include "dialogs/SamplerLists.h"
#include "dialogs/UploadSoundBox.h"
#include "protocol/Eps.h"
#include "transfer/AudioFormat.h"
#include "transfer/SourceRendering.h"

namespace kelvora::dialogs {

namespace {

const QString kCaption = QStringLiteral("Upload");

QComboBox* KeyComboBox(QWidget* parent, int note) {
  auto* box = new QComboBox(parent);
  for (int key = kLowestKey; key <= kHighestKey; ++key) box->addItem(KeyName(key));
  box->setCurrentIndex(note - kLowestKey);
  return box;
}

QString NativeString(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

// Every format libsndfile reads, upper-case names too.
QString AudioFilter() {
  const QString patterns = QString::fromStdString(transfer::ReadablePatterns());
  return QStringLiteral("Audio files (%1 %2)").arg(patterns, patterns.toUpper());
}

QStringList DefaultChooser(QWidget* parent, const QString& folder) {
  QFileDialog dialog(parent, kCaption, folder);
  dialog.setNameFilters(
      {AudioFilter(), QStringLiteral("Wav/RIFF files (*.wav)"), QStringLiteral("All files (*.*)")});
  dialog.setDefaultSuffix(QStringLiteral("wav"));
  // Several files go to the multisample plan instead.
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The toolkit's own dialog, so it behaves the same on every desktop and offscreen.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.selectFile(QString());
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

}  // namespace

TUploadForm::TUploadForm(protocol::TEps& eps, QString& uploadDownloadPath, QWidget* parent)
    : QDialog(parent), eps_(eps), uploadDownloadPath_(uploadDownloadPath) {
  setWindowTitle(kCaption);
  ChooseFile = [this](const QString& folder) { return DefaultChooser(this, folder); };
  Audition = new TAudition(this);
  BuildFileRow();
  Lists = new SamplerLists(eps, true, this);
  Lists->SetOfferNew(true);
  SamplerListControls::operator=(*Lists);
  RenameInstrForm = Lists->RenameInstrForm;
  connect(Lists, &SamplerLists::RefreshRequested, this, &TUploadForm::RefreshClick);
  BuildKeys();
  BuildLayout();
}

TUploadForm::~TUploadForm() = default;

void TUploadForm::BuildFileRow() {
  Label4 = new QLabel(QStringLiteral("Filename :"), this);
  FileNameEdit = new QLineEdit(this);
  Label4->setBuddy(FileNameEdit);
  AuditButton = new QToolButton(this);
  AuditButton->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  AuditButton->setToolTip(QStringLiteral("Play what the upload will send"));
  AuditButton->setAutoRaise(true);
  SelectButton = new QPushButton(QStringLiteral("Select..."), this);
  UploadButton = new QPushButton(QStringLiteral("Upload"), this);
  Button3 = new QPushButton(QStringLiteral("Cancel"), this);
  Button4 = new QPushButton(QStringLiteral("Help"), this);
  // None is made the default, not even by taking the focus, so Enter starts no upload.
  for (QPushButton* button : {SelectButton, UploadButton, Button3, Button4})
    button->setAutoDefault(false);
  UploadButton->setEnabled(false);
  AuditButton->setEnabled(false);
  connect(FileNameEdit, &QLineEdit::textChanged, this, &TUploadForm::FileNameEdited);
  connect(FileNameEdit, &QLineEdit::editingFinished, this, &TUploadForm::CheckFile);
  connect(AuditButton, &QToolButton::clicked, this, &TUploadForm::AuditClick);
  connect(SelectButton, &QPushButton::clicked, this, &TUploadForm::SelectClick);
  connect(UploadButton, &QPushButton::clicked, this, &TUploadForm::accept);
  connect(Button3, &QPushButton::clicked, this, &TUploadForm::reject);
  connect(Button4, &QPushButton::clicked, this, &TUploadForm::HelpClick);
}

void TUploadForm::BuildKeys() {
  Label5 = new QLabel(QStringLiteral("Root Key"), this);
  RootKeyComboBox = KeyComboBox(this, 60);
  Label5->setBuddy(RootKeyComboBox);
  GroupBox2 = new QGroupBox(QStringLiteral(" Range "), this);
  FullRangeRadio = new QRadioButton(QStringLiteral("Full "), GroupBox2);
  KeyRangeRadio = new QRadioButton(QStringLiteral("Root Key"), GroupBox2);
  CustomRangeRadio = new QRadioButton(QStringLiteral("Custom :"), GroupBox2);
  FullRangeRadio->setChecked(true);
  Label1 = new QLabel(QStringLiteral("Lo"), GroupBox2);
  LoKeyComboBox = KeyComboBox(GroupBox2, kLowestKey);
  Label3 = new QLabel(QStringLiteral("Hi"), GroupBox2);
  HiKeyComboBox = KeyComboBox(GroupBox2, kHighestKey);
  LoKeyComboBox->setEnabled(false);
  HiKeyComboBox->setEnabled(false);
  for (QRadioButton* radio : {FullRangeRadio, KeyRangeRadio, CustomRangeRadio}) {
    connect(radio, &QRadioButton::clicked, this, &TUploadForm::RangeClicked);
  }
  ChannelsGroupBox = new QGroupBox(QStringLiteral(" Channels "), this);
  MonoRadio = new QRadioButton(QStringLiteral("Mono"), ChannelsGroupBox);
  LeftRadio = new QRadioButton(QStringLiteral("Left"), ChannelsGroupBox);
  RightRadio = new QRadioButton(QStringLiteral("Right"), ChannelsGroupBox);
  ChannelRadio = new QRadioButton(QStringLiteral("Channel"), ChannelsGroupBox);
  ChannelSpinBox = new QSpinBox(ChannelsGroupBox);
  ChannelSpinBox->setRange(1, 1);
  MonoRadio->setChecked(true);
  UpdateChannels(0);
  for (QRadioButton* radio : {MonoRadio, LeftRadio, RightRadio, ChannelRadio})
    connect(radio, &QRadioButton::clicked, this, &TUploadForm::UpdatePlan);
  connect(ChannelSpinBox, &QSpinBox::valueChanged, this, &TUploadForm::UpdatePlan);
  SoundBox = new UploadSoundBox(this);
  connect(SoundBox, &UploadSoundBox::OptionsChanged, this, &TUploadForm::UpdatePlan);
}

void TUploadForm::BuildLayout() {
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(Label4);
  fileRow->addWidget(FileNameEdit, 1);
  fileRow->addWidget(AuditButton);
  fileRow->addWidget(SelectButton);

  auto* range = new QGridLayout(GroupBox2);
  range->addWidget(FullRangeRadio, 0, 0);
  range->addWidget(KeyRangeRadio, 1, 0);
  range->addWidget(CustomRangeRadio, 2, 0);
  range->addWidget(Label1, 2, 1);
  range->addWidget(LoKeyComboBox, 2, 2);
  range->addWidget(Label3, 2, 3);
  range->addWidget(HiKeyComboBox, 2, 4);
  auto* channels = new QGridLayout(ChannelsGroupBox);
  channels->addWidget(MonoRadio, 0, 0);
  channels->addWidget(LeftRadio, 1, 0);
  channels->addWidget(RightRadio, 2, 0);
  channels->addWidget(ChannelRadio, 0, 1);
  channels->addWidget(ChannelSpinBox, 1, 1);

  auto* keys = new QHBoxLayout;
  keys->addWidget(Label5);
  keys->addWidget(RootKeyComboBox);
  keys->addStretch(1);
  auto* settings = new QVBoxLayout;
  settings->addLayout(keys);
  settings->addWidget(GroupBox2);
  settings->addWidget(ChannelsGroupBox);
  settings->addStretch(1);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {UploadButton, Button3, Button4}) buttons->addWidget(button);
  buttons->addStretch(1);

  auto* middle = new QHBoxLayout;
  middle->addWidget(Lists, 1);
  middle->addLayout(settings);
  middle->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fileRow);
  layout->addLayout(middle, 1);
  layout->addWidget(SoundBox);
  resize(860, 470);
}

int TUploadForm::Execute(const QString& fileName) {
  UploadDir = uploadDownloadPath_;
  several_.clear();
  Refresh();
  if (!fileName.isEmpty()) {
    const QFileInfo info(fileName);
    UploadDir = QDir::toNativeSeparators(info.absolutePath());
    FileNameEdit->setText(info.fileName());
    CheckFile();
  }
  SelectButton->setFocus();
  CheckFile();
  const int result = exec();
  Audition->Stop();
  if (result == kSeveralChosen) return kSeveralChosen;
  if (result != protocol::mrOk) return protocol::mrCancel;
  HandOver();
  return protocol::mrOk;
}

std::unique_ptr<transfer::UploadSource> TUploadForm::TakeSource() {
  return std::move(opened_.source);
}

transfer::UploadChoices TUploadForm::Choices() const {
  transfer::UploadChoices choices;
  choices.instrument = eps_.Instrument;
  choices.waveSample = eps_.WaveSample;
  choices.layer = eps_.Layer;
  choices.rootKey = RootKey;
  choices.loKey = LoKey;
  choices.hiKey = HiKey;
  if (KeyRangeRadio->isChecked()) {
    choices.range = transfer::KeyRangeMode::Root;
  } else if (CustomRangeRadio->isChecked()) {
    choices.range = transfer::KeyRangeMode::Custom;
  } else {
    choices.range = transfer::KeyRangeMode::Full;
  }
  choices.channelMode = ChannelMode;
  choices.channel = Channel;
  return choices;
}

void TUploadForm::KeyPlayed(int note) {
  const int clamped = std::clamp(note, kLowestKey, kHighestKey);
  for (QComboBox* box : {RootKeyComboBox, LoKeyComboBox, HiKeyComboBox}) {
    // An open drop-down list holds the keyboard focus for its combo box.
    if (!box->hasFocus() && !box->view()->isVisible()) continue;
    box->hidePopup();
    box->setCurrentIndex(clamped - kLowestKey);
    return;
  }
}

void TUploadForm::HandOver() {
  const TListEntry* instrument = Lists->SelectedInstrument();
  const TListEntry* waveSample = Lists->SelectedWaveSample();
  const TListEntry* layer = Lists->SelectedLayer();
  if (instrument != nullptr) eps_.Instrument = instrument->Number;
  if (waveSample != nullptr) eps_.WaveSample = waveSample->Number + 1;
  if (layer != nullptr) eps_.Layer = layer->Number;
  RootKey = RootKeyComboBox->currentIndex() + kLowestKey;
  LoKey = LoKeyComboBox->currentIndex() + kLowestKey;
  HiKey = HiKeyComboBox->currentIndex() + kLowestKey;
  const transfer::ChannelPick pick = Options().pick;
  ChannelMode = pick.mode;
  Channel = pick.channel;
}

void TUploadForm::Refresh() { Lists->ReadAndFill(); }

void TUploadForm::RefreshClick() {
  RunShowingPortFailure(this, [this] { Refresh(); });
}

void TUploadForm::FileNameEdited(const QString& text) {
  const bool named = !text.trimmed().isEmpty();
  UploadButton->setEnabled(named);
  AuditButton->setEnabled(named);
}

void TUploadForm::RangeClicked() {
  const bool custom = CustomRangeRadio->isChecked();
  LoKeyComboBox->setEnabled(custom);
  HiKeyComboBox->setEnabled(custom);
}

QString TUploadForm::FullPath() const {
  // Resolved against UploadDir directly rather than by changing the process's current folder.
  return QDir::cleanPath(QDir(UploadDir).absoluteFilePath(FileNameEdit->text().trimmed()));
}

// A file the upload can take enables Upload and Audition; its channel count enables the
// channel choices, and a root key it names becomes the dialog's (the user can still change it).
void TUploadForm::CheckFile() {
  QString path = FullPath();
  // An empty name stands for no file, not for the folder.
  if (FileNameEdit->text().trimmed().isEmpty()) path.clear();
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".wav");
  const bool newFile = path != filePath_;
  filePath_ = path;
  // The file as it is first, whatever was chosen for the one before.
  BindSource(transfer::SourceOptions{});
  const bool readable = opened_.source != nullptr;
  if (readable) {
    UploadButton->setEnabled(true);
    AuditButton->setEnabled(true);
  }
  UpdateChannels(readable ? opened_.plan.channels : 0);
  if (readable && newFile && opened_.source->RootKey()) {
    const int key = std::clamp(*opened_.source->RootKey(), kLowestKey, kHighestKey);
    RootKeyComboBox->setCurrentIndex(key - kLowestKey);
  }
  SoundBox->ShowFile(opened_);
  UpdatePlan();
}

void TUploadForm::BindSource(const transfer::SourceOptions& options) {
  const QString native = QDir::toNativeSeparators(filePath_);
  if (filePath_.isEmpty() || !QFileInfo(filePath_).isFile()) {
    opened_ = {};
    opened_.refusal = QStringLiteral("File '%1' does not exist.").arg(native).toStdString();
    return;
  }
  opened_ = transfer::OpenUploadSource(QFile::encodeName(native).toStdString(), options);
}

transfer::SourceOptions TUploadForm::Options() const {
  transfer::SourceOptions options;
  options.pick.mode = LeftRadio->isChecked()      ? transfer::fcLeft
                      : RightRadio->isChecked()   ? transfer::fcRight
                      : ChannelRadio->isChecked() ? transfer::fcChannel
                                                  : transfer::fcMono;
  options.pick.channel = ChannelSpinBox->value() - 1;
  options.targetCode = SoundBox->TargetCode();
  options.unchanged = SoundBox->Unchanged();
  options.bits = protocol::SampleBits(eps_.Kind());
  return options;
}

// Mono, left and right for any file of two or more channels; a channel by number for more than
// two. A choice the file does not allow falls back to the mix.
void TUploadForm::UpdateChannels(int channels) {
  const bool several = channels >= 2;
  const bool many = channels > 2;
  if (!several || (!many && ChannelRadio->isChecked())) MonoRadio->setChecked(true);
  for (QRadioButton* radio : {MonoRadio, LeftRadio, RightRadio}) radio->setEnabled(several);
  ChannelRadio->setEnabled(many);
  ChannelSpinBox->setRange(1, std::max(channels, 1));
  ChannelSpinBox->setEnabled(many);
}

// What the upload will do with the choices as they are now.
void TUploadForm::UpdatePlan() {
  BindSource(Options());
  transfer::UploadChoices choices;
  const TListEntry* waveSample = Lists->SelectedWaveSample();
  choices.waveSample = waveSample != nullptr ? waveSample->Number + 1 : 1;
  choices.range =
      FullRangeRadio->isChecked() ? transfer::KeyRangeMode::Full : transfer::KeyRangeMode::Root;
  const int frames = opened_.source ? opened_.source->FrameCount() : 0;
  SoundBox->ShowPlan(opened_, transfer::FiguresFor(frames, eps_.BlockSize, choices, eps_.Delay));
}

void TUploadForm::SelectClick() {
  const QStringList chosen = ChooseFile ? ChooseFile(UploadDir) : QStringList();
  if (chosen.isEmpty()) return;
  if (chosen.size() > 1) {
    several_ = chosen;
    uploadDownloadPath_ = QDir::toNativeSeparators(QFileInfo(chosen.first()).absolutePath());
    done(kSeveralChosen);
    return;
  }
  const QFileInfo info(chosen.first());
  UploadDir = QDir::toNativeSeparators(info.absolutePath());
  uploadDownloadPath_ = UploadDir;
  FileNameEdit->setText(info.fileName());
  CheckFile();
}

// What the upload would send, rendered into a WAV file first: the channel taken, the rate the
// sampler plays and the resolution it keeps.
void TUploadForm::AuditClick() {
  if (!FileExists()) return;
  if (!opened_.source) {
    QMessageBox::warning(this, QStringLiteral("Audition"), NativeString(opened_.refusal));
    return;
  }
  if (!auditionDir_) auditionDir_ = std::make_unique<QTemporaryDir>();
  const QString rendered = auditionDir_->filePath(QStringLiteral("audition.wav"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool written =
      transfer::RenderToWav(*opened_.source, QFile::encodeName(rendered).toStdString());
  QApplication::restoreOverrideCursor();
  BindSource(Options());  // the rendering read the source to its end
  if (!written) {
    QMessageBox::warning(this, QStringLiteral("Audition"),
                         QStringLiteral("The file '%1' could not be read to its end.")
                             .arg(QDir::toNativeSeparators(filePath_)));
    return;
  }
  Audition->Play(rendered);
}

void TUploadForm::HelpClick() { ShowHelp(hcUpload); }

QString TUploadForm::Refusal() const {
  if (!opened_.source) return NativeString(opened_.refusal);
  const TListEntry* waveSample = Lists->SelectedWaveSample();
  if (Lists->SelectedInstrument() == nullptr || waveSample == nullptr ||
      Lists->SelectedLayer() == nullptr) {
    return QStringLiteral("Choose the instrument, wavesample and layer to upload to.");
  }
  if (waveSample->Number < 0) {
    return QStringLiteral(
               "Instrument %1 has no free wavesample: all 127 are in use. Choose a wavesample to "
               "replace.")
        .arg(waveSample->Instrument + 1);
  }
  return KeyRangeRefusal();
}

QString TUploadForm::KeyRangeRefusal() const {
  if (!CustomRangeRadio->isChecked()) return {};
  const int low = LoKeyComboBox->currentIndex() + kLowestKey;
  const int high = HiKeyComboBox->currentIndex() + kLowestKey;
  if (low <= high) return {};
  return QStringLiteral(
             "The custom key range runs from %1 down to %2: the low key must not be above the "
             "high key.")
      .arg(KeyName(low), KeyName(high));
}

bool TUploadForm::FileExists() {
  CheckFile();
  if (QFileInfo(filePath_).isFile()) return true;
  QMessageBox::warning(
      this, QStringLiteral("File open error"),
      QStringLiteral("File '%1' does not exist.").arg(QDir::toNativeSeparators(filePath_)));
  return false;
}

void TUploadForm::accept() {
  if (!FileExists()) return;
  const QString refusal = Refusal();
  if (!refusal.isEmpty()) {
    QMessageBox::warning(this, kCaption, refusal);
    if (!KeyRangeRefusal().isEmpty()) LoKeyComboBox->setFocus();
    return;
  }
  done(protocol::mrOk);
}

void TUploadForm::reject() { done(protocol::mrCancel); }

void TUploadForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
    QDialog::keyPressEvent(event);
    return;
  }
  // Buttons that are no default ignore Enter; a focused one is still pressed by it.
  auto* button = qobject_cast<QAbstractButton*>(focusWidget());
  if (button != nullptr && !button->isCheckable() && button->isEnabled()) button->click();
  event->accept();
}

}  // namespace kelvora::dialogs
