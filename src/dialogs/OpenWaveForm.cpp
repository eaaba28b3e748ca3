#include "dialogs/OpenWaveForm.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/BrowserDetails.h"
#include "dialogs/NoInstrForm.h"
#include "dialogs/PortFailure.h"
#include "dialogs/SamplerLists.h"
#include "protocol/Eps.h"

namespace kelvora::dialogs {

namespace {

QString Caption(TBrowseMode mode) {
  switch (mode) {
    case bmUpload:
      return QStringLiteral("Upload to Wavesample");
    case bmDownload:
      return QStringLiteral("Download Wavesample");
    case bmOpen:
      break;
  }
  return QStringLiteral("Open Wavesample");
}

}  // namespace

TOpenWaveForm::TOpenWaveForm(protocol::TEps& eps, QWidget* parent) : QDialog(parent), eps_(eps) {
  setWindowTitle(Caption(bmOpen));
  NoInstrForm = new TNoInstrForm(this);
  Lists = new SamplerLists(eps, false, this);
  SamplerListControls::operator=(*Lists);
  RenameInstrForm = Lists->RenameInstrForm;
  Details = new BrowserDetails(eps, *Lists);
  Lists->SetCommandHooks([this] { Details->Pause(); }, [this] { Details->Resume(); });
  OkButton = new QPushButton(QStringLiteral("OK"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  OkButton->setDefault(true);
  // The form's own menu shows the key; the lists carry F5 for the whole window.
  PopupMenu = new QMenu(this);
  Refresh1 = PopupMenu->addAction(QStringLiteral("Refresh"));
  Refresh1->setShortcut(Qt::Key_F5);
  Refresh1->setShortcutContext(Qt::WidgetShortcut);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupMenu->popup(mapToGlobal(pos)); });
  connect(Refresh1, &QAction::triggered, this, &TOpenWaveForm::RefreshClick);
  connect(Lists, &SamplerLists::RefreshRequested, this, &TOpenWaveForm::RefreshClick);
  connect(Lists, &SamplerLists::SelectionChanged, this, &TOpenWaveForm::UpdateOk);
  connect(Lists, &SamplerLists::LineActivated, this, &TOpenWaveForm::accept);
  connect(OkButton, &QPushButton::clicked, this, &TOpenWaveForm::accept);
  connect(CancelButton, &QPushButton::clicked, this, &TOpenWaveForm::reject);
  BuildLayout();
  UpdateOk();
}

void TOpenWaveForm::BuildLayout() {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Lists, 1);
  layout->addLayout(buttons);
  // Room for the details beside the wavesample numbers.
  Lists->SetColumnStretch(0, 3);
  Lists->SetColumnStretch(1, 7);
  resize(900, 360);
}

int TOpenWaveForm::Execute(TBrowseMode mode) {
  Mode = mode;
  setWindowTitle(Caption(mode));
  Lists->SetOfferNew(mode == bmUpload);
  Refresh();
  if (InstrumentListBox->count() == 0) return protocol::mrCancel;
  OkButton->setFocus();
  if (exec() != protocol::mrOk) return protocol::mrCancel;
  HandOver();
  return protocol::mrOk;
}

void TOpenWaveForm::Refresh() {
  while (!FillOnce()) {
    if (NoInstrForm->Execute() != protocol::mrOk) {
      if (isVisible()) done(protocol::mrCancel);
      return;
    }
  }
}

bool TOpenWaveForm::FillOnce() {
  Lists->ReadAndFill();
  return InstrumentListBox->count() > 0;
}

void TOpenWaveForm::RefreshClick() {
  RunShowingPortFailure(this, [this] { Refresh(); });
}

bool TOpenWaveForm::CanAccept() const {
  // The "<new>" line of a full instrument stands for no slot (Number -1).
  const TListEntry* waveSample = Lists->SelectedWaveSample();
  return waveSample != nullptr && waveSample->Number >= 0;
}

void TOpenWaveForm::UpdateOk() { OkButton->setEnabled(CanAccept()); }

void TOpenWaveForm::accept() {
  if (CanAccept()) done(protocol::mrOk);
}

void TOpenWaveForm::reject() { done(protocol::mrCancel); }

void TOpenWaveForm::done(int result) {
  Details->Stop();
  QDialog::done(result);
}

void TOpenWaveForm::HandOver() {
  const TListEntry* waveSample = Lists->SelectedWaveSample();
  if (waveSample == nullptr) return;
  // The instrument for which the wavesample line was listed.
  eps_.Instrument = waveSample->Instrument;
  eps_.WaveSample = waveSample->Number + 1;
  if (waveSample->Layer >= 0 && waveSample->Layer < protocol::kLayers)
    eps_.Layer = waveSample->Layer;
}

}  // namespace kelvora::dialogs
