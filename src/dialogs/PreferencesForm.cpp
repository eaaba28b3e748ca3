#include "dialogs/PreferencesForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "controls/ChannelComboBox.h"
#include "controls/MidiInComboBox.h"
#include "controls/MidiOutComboBox.h"
#include "dialogs/HelpLink.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/Eps.h"
#include "transfer/UploadChoices.h"
#include "transfer/UploadFigures.h"

namespace kelvora::dialogs {

namespace {

QScrollBar* MakeScrollBar(int min, int max, int small, int large, QWidget* parent) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setRange(min, max);
  bar->setSingleStep(small);
  bar->setPageStep(large);
  bar->setValue(min);
  bar->setMinimumWidth(180);
  return bar;
}

// The yardstick of the transfer-time line: one second of sound at the rate most files have.
constexpr int kYardstickRate = 44100;

// The scroll bar and its value in words on one row.
QHBoxLayout* BarWithValue(QScrollBar* bar, QLabel* value) {
  auto* row = new QHBoxLayout;
  row->addWidget(bar, 1);
  row->addWidget(value);
  return row;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TPreferencesForm::TPreferencesForm(protocol::TEps& eps, transfer::DownloadFormat& download,
                                   QWidget* parent)
    : QDialog(parent), eps_(eps), download_(download) {
  setWindowTitle("Preferences");
  MidiInComboBox = new controls::TMidiInComboBox(this);
  MidiOutComboBox = new controls::TMidiOutComboBox(this);
  ChannelComboBox = new controls::TChannelComboBox(this);
  BlockSizeScrollBar = MakeScrollBar(256, 10240, 50, 500, this);
  DelayScrollBar = MakeScrollBar(0, 4000, 40, 400, this);
  // In the order of DownloadFormat::Container.
  DownloadFormatComboBox = new QComboBox(this);
  DownloadFormatComboBox->addItems({"WAV", "FLAC", "AIFF"});
  DownloadRateComboBox = new QComboBox(this);
  DownloadRateComboBox->addItem("As the sampler plays it", 0);
  DownloadRateComboBox->addItem("44100 Hz", 44100);
  DownloadRateComboBox->addItem("48000 Hz", 48000);
  OkButton = new QPushButton("OK", this);
  CancelButton = new QPushButton("Cancel", this);
  HelpButton = new QPushButton("Help", this);
  BlockSizeValue = new QLabel(this);
  DelayValue = new QLabel(this);
  TransferTime = new QLabel(this);
  // As wide as the longest value, for both, so the bars keep their length as the numbers change.
  const int valueWidth = BlockSizeValue->fontMetrics().horizontalAdvance("10240 words");
  BlockSizeValue->setMinimumWidth(valueWidth);
  DelayValue->setMinimumWidth(valueWidth);
  OkButton->setDefault(true);
  BuildLayout();
  connect(BlockSizeScrollBar, &QScrollBar::valueChanged, this, &TPreferencesForm::ShowValues);
  connect(DelayScrollBar, &QScrollBar::valueChanged, this, &TPreferencesForm::ShowValues);
  connect(OkButton, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { done(protocol::mrCancel); });
  connect(HelpButton, &QPushButton::clicked, this, [] { ShowHelp(hcPreferences); });
}

void TPreferencesForm::BuildLayout() {
  auto* devices = new QGroupBox("Midi Device", this);
  auto* deviceForm = new QFormLayout(devices);
  deviceForm->addRow(BuddyLabel("&Input", MidiInComboBox, devices), MidiInComboBox);
  deviceForm->addRow(BuddyLabel("&Output", MidiOutComboBox, devices), MidiOutComboBox);

  auto* sampler = new QGroupBox("EPS / ASR", this);
  auto* samplerForm = new QFormLayout(sampler);
  samplerForm->addRow(BuddyLabel("&Channel", ChannelComboBox, sampler), ChannelComboBox);

  auto* transfer = new QGroupBox("Transfer", this);
  auto* transferForm = new QVBoxLayout(transfer);
  transferForm->addWidget(BuddyLabel("Upload/download &Blocksize", BlockSizeScrollBar, transfer));
  transferForm->addLayout(BarWithValue(BlockSizeScrollBar, BlockSizeValue));
  transferForm->addWidget(BuddyLabel("&Delay", DelayScrollBar, transfer));
  transferForm->addLayout(BarWithValue(DelayScrollBar, DelayValue));
  transferForm->addWidget(TransferTime);

  auto* download = new QGroupBox("Downloaded files", this);
  auto* downloadForm = new QFormLayout(download);
  downloadForm->addRow(BuddyLabel("&Format", DownloadFormatComboBox, download),
                       DownloadFormatComboBox);
  downloadForm->addRow(BuddyLabel("&Rate", DownloadRateComboBox, download), DownloadRateComboBox);

  auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
  buttons->addButton(OkButton, QDialogButtonBox::AcceptRole);
  buttons->addButton(CancelButton, QDialogButtonBox::RejectRole);
  buttons->addButton(HelpButton, QDialogButtonBox::HelpRole);

  auto* groups = new QVBoxLayout;
  groups->addWidget(devices);
  groups->addWidget(sampler);
  groups->addWidget(transfer);
  groups->addWidget(download);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(groups, 1);
  layout->addWidget(buttons, 0, Qt::AlignTop);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TPreferencesForm::Execute() {
  LoadControls();
  OkButton->setFocus();
  const int result = exec();
  if (result != protocol::mrOk) return protocol::mrCancel;
  WriteBack();
  return protocol::mrOk;
}

// Devices plugged in since the last run are listed too: the lists are read again every time.
void TPreferencesForm::LoadControls() {
  MidiInComboBox->Refill();
  MidiOutComboBox->Refill();
  MidiInComboBox->SetDeviceID(eps_.MidiIn->DeviceID());
  MidiOutComboBox->SetDeviceID(eps_.MidiOut->DeviceID());
  ChannelComboBox->SetChannel(eps_.MidiOut->Channel());
  BlockSizeScrollBar->setValue(eps_.BlockSize);
  DelayScrollBar->setValue(eps_.Delay);
  DownloadFormatComboBox->setCurrentIndex(static_cast<int>(download_.container));
  DownloadRateComboBox->setCurrentIndex(
      std::max(DownloadRateComboBox->findData(download_.rate), 0));
  ShowValues();
}

// Smaller blocks mean more exchanges and more pauses for the same samples; the time is the
// upload's own reckoning, so it matches what the upload dialog says.
void TPreferencesForm::ShowValues() {
  const int block = BlockSizeScrollBar->value();
  const int delay = DelayScrollBar->value();
  BlockSizeValue->setText(QString("%1 words").arg(block));
  DelayValue->setText(QString("%1 ms").arg(delay));
  transfer::UploadChoices choices;
  choices.waveSample = 2;  // not the first, whose upload also renames the instrument
  const auto figures = transfer::FiguresFor(kYardstickRate, block, choices, delay);
  const int blocks = (kYardstickRate + 2 + block - 1) / block;
  TransferTime->setText(QString("Uploading 1 s of %1 Hz sound: %2 blocks, %3 s on the wire")
                            .arg(kYardstickRate)
                            .arg(blocks)
                            .arg(figures.wireSeconds, 0, 'f', 1));
}

// A port whose device did not change is neither closed nor reopened; whether a reopened port
// works shows the next time a command probes the sampler.
void TPreferencesForm::WriteBack() {
  if (MidiInComboBox->DeviceID() != eps_.MidiIn->DeviceID()) {
    eps_.MidiIn->Close();
    eps_.MidiIn->SetDeviceID(MidiInComboBox->DeviceID());
    eps_.MidiIn->Open();
  }
  if (MidiOutComboBox->DeviceID() != eps_.MidiOut->DeviceID()) {
    eps_.MidiOut->Close();
    eps_.MidiOut->SetDeviceID(MidiOutComboBox->DeviceID());
    eps_.MidiOut->Open();
  }
  eps_.MidiOut->SetChannel(ChannelComboBox->Channel());
  eps_.BlockSize = BlockSizeScrollBar->value();
  eps_.Delay = DelayScrollBar->value();
  download_.container =
      static_cast<transfer::DownloadFormat::Container>(DownloadFormatComboBox->currentIndex());
  download_.rate = DownloadRateComboBox->currentData().toInt();
}

void TPreferencesForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    ShowHelp(hcPreferences);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace kelvora::dialogs
