#include "dialogs/UploadForm.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
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
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/Audition.h"
#include "dialogs/HelpLink.h"
#include "dialogs/KeyName.h"
#include "dialogs/PortFailure.h"
#include "dialogs/SamplerLists.h"
#include "protocol/Eps.h"
#include "transfer/UploadCheck.h"

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

QString DefaultChooser(QWidget* parent, const QString& folder) {
  QFileDialog dialog(parent, kCaption, folder);
  dialog.setNameFilters(
      {QStringLiteral("Wav/RIFF files (*.wav)"), QStringLiteral("All files (*.*)")});
  dialog.setDefaultSuffix(QStringLiteral("wav"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The toolkit's own dialog, so it behaves the same on every desktop and offscreen.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.selectFile(QString());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

TUploadForm::TUploadForm(protocol::TEps& eps, QString& uploadDownloadPath, QWidget* parent)
    : QDialog(parent),
      eps_(eps),
      uploadDownloadPath_(uploadDownloadPath),
      riffFile_(std::make_unique<transfer::TRiffFile>()) {
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
  AuditButton->setToolTip(QStringLiteral("Play the file"));
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
  MonoRadio->setChecked(true);
  for (QRadioButton* radio : {MonoRadio, LeftRadio, RightRadio}) radio->setEnabled(false);
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
  auto* channels = new QVBoxLayout(ChannelsGroupBox);
  for (QRadioButton* radio : {MonoRadio, LeftRadio, RightRadio}) channels->addWidget(radio);

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
  resize(800, 330);
}

int TUploadForm::Execute(const QString& fileName) {
  UploadDir = uploadDownloadPath_;
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
  if (result != protocol::mrOk) return protocol::mrCancel;
  HandOver();
  return protocol::mrOk;
}

transfer::TRiffFile& TUploadForm::RiffFile() { return *riffFile_; }

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
  ChannelMode = LeftRadio->isChecked()    ? transfer::fcLeft
                : RightRadio->isChecked() ? transfer::fcRight
                                          : transfer::fcMono;
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

void TUploadForm::CheckFile() {
  QString path = FullPath();
  // An empty name stands for no file, not for the folder.
  if (FileNameEdit->text().trimmed().isEmpty()) path.clear();
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".wav");
  riffFile_->SetFileName(QFile::encodeName(QDir::toNativeSeparators(path)).toStdString());
  const QFileInfo info(path);
  const bool readable = !path.isEmpty() && info.isFile() && riffFile_->ReadHeader();
  if (readable) {
    UploadButton->setEnabled(true);
    AuditButton->setEnabled(true);
  }
  const bool stereo = readable && riffFile_->Channels >= 2;
  if (!stereo) MonoRadio->setChecked(true);
  for (QRadioButton* radio : {MonoRadio, LeftRadio, RightRadio}) radio->setEnabled(stereo);
}

void TUploadForm::SelectClick() {
  const QString chosen = ChooseFile ? ChooseFile(UploadDir) : QString();
  if (chosen.isEmpty()) return;
  const QFileInfo info(chosen);
  UploadDir = QDir::toNativeSeparators(info.absolutePath());
  uploadDownloadPath_ = UploadDir;
  FileNameEdit->setText(info.fileName());
  CheckFile();
}

void TUploadForm::AuditClick() {
  if (FileExists())
    Audition->Play(QFile::decodeName(QByteArray::fromStdString(riffFile_->FileName)));
}

void TUploadForm::HelpClick() { ShowHelp(hcUpload); }

QString TUploadForm::Refusal() const {
  const transfer::TRiffFile& file = *riffFile_;
  const QString path = QFile::decodeName(QByteArray::fromStdString(file.FileName));
  const std::string reason = transfer::UploadRefusal(file);
  if (!reason.empty())
    return QStringLiteral("The file '%1' cannot be uploaded: %2.").arg(path, NativeString(reason));
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
  const QString path = QFile::decodeName(QByteArray::fromStdString(riffFile_->FileName));
  if (QFileInfo(path).isFile()) return true;
  QMessageBox::warning(this, QStringLiteral("File open error"),
                       QStringLiteral("File '%1' does not exist.").arg(path));
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
