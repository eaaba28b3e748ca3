#include "dialogs/OpenWaveForm.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "dialogs/ListEdits.h"
#include "dialogs/NoInstrForm.h"
#include "dialogs/RenameInstrForm.h"
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

QAction* MenuItem(QMenu* menu, const QString& text, const QKeySequence& shortcut) {
  QAction* action = menu->addAction(text);
  action->setShortcut(shortcut);
  return action;
}

}  // namespace

TOpenWaveForm::TOpenWaveForm(protocol::TEps& eps, QWidget* parent) : QDialog(parent), eps_(eps) {
  setWindowTitle(Caption(bmOpen));
  NoInstrForm = new TNoInstrForm(this);
  RenameInstrForm = new TRenameInstrForm(this);
  BuildLists();
  BuildMenus();
  BuildLayout();
  connect(OkButton, &QPushButton::clicked, this, &TOpenWaveForm::accept);
  connect(CancelButton, &QPushButton::clicked, this, &TOpenWaveForm::reject);
  UpdateActions();
}

void TOpenWaveForm::BuildLists() {
  InstrumentLabel = new QLabel(QStringLiteral("&Instrument"), this);
  WavesampleLabel = new QLabel(QStringLiteral("&Wavesample"), this);
  InstrumentListBox = new QListWidget(this);
  WaveSampleListBox = new QListWidget(this);
  InstrumentLabel->setBuddy(InstrumentListBox);
  WavesampleLabel->setBuddy(WaveSampleListBox);
  for (QListWidget* box : {InstrumentListBox, WaveSampleListBox}) {
    box->setSelectionMode(QAbstractItemView::SingleSelection);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QListWidget::itemDoubleClicked, this, &TOpenWaveForm::accept);
  }
  connect(InstrumentListBox, &QListWidget::itemSelectionChanged, this,
          &TOpenWaveForm::InstrumentSelectionChanged);
  connect(WaveSampleListBox, &QListWidget::itemSelectionChanged, this,
          &TOpenWaveForm::UpdateActions);
  connect(InstrumentListBox, &QWidget::customContextMenuRequested, this,
          &TOpenWaveForm::ShowInstrumentPopup);
  connect(WaveSampleListBox, &QWidget::customContextMenuRequested, this,
          &TOpenWaveForm::ShowWaveSamplePopup);
  OkButton = new QPushButton(QStringLiteral("OK"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  OkButton->setDefault(true);
}

void TOpenWaveForm::BuildMenus() {
  InstrumentPopupMenu = new QMenu(this);
  RenameMenuItem = InstrumentPopupMenu->addAction(QStringLiteral("Rename"));
  InstrumentPopupMenu->setDefaultAction(RenameMenuItem);
  DeleteInsMenuItem = MenuItem(InstrumentPopupMenu, QStringLiteral("Delete"), QKeySequence::Delete);
  InstrumentPopupMenu->addSeparator();
  RefreshInsMenuItem = MenuItem(InstrumentPopupMenu, QStringLiteral("Refresh"), Qt::Key_F5);
  WaveSamplePopupMenu = new QMenu(this);
  DeleteWsMenuItem = MenuItem(WaveSamplePopupMenu, QStringLiteral("Delete"), QKeySequence::Delete);
  WaveSamplePopupMenu->addSeparator();
  RefreshWsMenuItem = MenuItem(WaveSamplePopupMenu, QStringLiteral("Refresh"), Qt::Key_F5);
  PopupMenu = new QMenu(this);
  Refresh1 = MenuItem(PopupMenu, QStringLiteral("Refresh"), Qt::Key_F5);

  // The shortcuts work without the menus: Del in the list that has the focus, F5 anywhere.
  DeleteInsMenuItem->setShortcutContext(Qt::WidgetShortcut);
  InstrumentListBox->addAction(DeleteInsMenuItem);
  DeleteWsMenuItem->setShortcutContext(Qt::WidgetShortcut);
  WaveSampleListBox->addAction(DeleteWsMenuItem);
  addAction(Refresh1);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupMenu->popup(mapToGlobal(pos)); });

  connect(RenameMenuItem, &QAction::triggered, this, &TOpenWaveForm::RenameClick);
  connect(DeleteInsMenuItem, &QAction::triggered, this, &TOpenWaveForm::DeleteInstrumentClick);
  connect(DeleteWsMenuItem, &QAction::triggered, this, &TOpenWaveForm::DeleteWaveSampleClick);
  for (QAction* refresh : {RefreshInsMenuItem, RefreshWsMenuItem, Refresh1}) {
    connect(refresh, &QAction::triggered, this, &TOpenWaveForm::Refresh);
  }
}

void TOpenWaveForm::BuildLayout() {
  auto* lists = new QGridLayout;
  lists->addWidget(InstrumentLabel, 0, 0);
  lists->addWidget(WavesampleLabel, 0, 1);
  lists->addWidget(InstrumentListBox, 1, 0);
  lists->addWidget(WaveSampleListBox, 1, 1);
  lists->setColumnStretch(0, 3);
  lists->setColumnStretch(1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);
  resize(420, 300);
}

int TOpenWaveForm::Execute(TBrowseMode mode) {
  Mode = mode;
  setWindowTitle(Caption(mode));
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
  eps_.ReadConfig();
  {
    // Filling selects a line; the wavesample list is filled once, below.
    const QSignalBlocker blocker(InstrumentListBox);
    FillInstrumentList(InstrumentListBox, InstrumentEntries, eps_, OfferNew());
  }
  FillWaveSamplesOfSelectedInstrument();
  return InstrumentListBox->count() > 0;
}

void TOpenWaveForm::FillWaveSamplesOfSelectedInstrument() {
  const TListEntry* instrument = SelectedInstrument();
  {
    const QSignalBlocker blocker(WaveSampleListBox);
    FillWaveSampleList(WaveSampleListBox, WaveSampleEntries, eps_,
                       instrument ? instrument->Number : -1, OfferNew());
  }
  UpdateActions();
}

const TListEntry* TOpenWaveForm::SelectedInstrument() const {
  const int line = SelectedLine(InstrumentListBox);
  return line >= 0 && line < kInstrumentEntries ? &InstrumentEntries[line] : nullptr;
}

const TListEntry* TOpenWaveForm::SelectedWaveSample() const {
  const int line = SelectedLine(WaveSampleListBox);
  return line >= 0 && line < kWaveSampleEntries ? &WaveSampleEntries[line] : nullptr;
}

bool TOpenWaveForm::CanAccept() const {
  // The "<new>" line of a full instrument stands for no slot (Number -1).
  const TListEntry* waveSample = SelectedWaveSample();
  return waveSample != nullptr && waveSample->Number >= 0;
}

void TOpenWaveForm::UpdateActions() {
  const TListEntry* instrument = SelectedInstrument();
  const TListEntry* waveSample = SelectedWaveSample();
  const bool realInstrument = instrument != nullptr && !instrument->IsNew;
  RenameMenuItem->setEnabled(realInstrument);
  DeleteInsMenuItem->setEnabled(realInstrument);
  DeleteWsMenuItem->setEnabled(waveSample != nullptr && !waveSample->IsNew);
  OkButton->setEnabled(CanAccept());
}

void TOpenWaveForm::InstrumentSelectionChanged() { FillWaveSamplesOfSelectedInstrument(); }

void TOpenWaveForm::accept() {
  if (CanAccept()) done(protocol::mrOk);
}

void TOpenWaveForm::reject() { done(protocol::mrCancel); }

void TOpenWaveForm::HandOver() {
  const TListEntry* waveSample = SelectedWaveSample();
  if (waveSample == nullptr) return;
  // The instrument for which the wavesample line was listed.
  eps_.Instrument = waveSample->Instrument;
  eps_.WaveSample = waveSample->Number + 1;
  if (waveSample->Layer >= 0 && waveSample->Layer < protocol::kLayers)
    eps_.Layer = waveSample->Layer;
}

void TOpenWaveForm::ShowInstrumentPopup(const QPoint& pos) {
  if (QListWidgetItem* item = InstrumentListBox->itemAt(pos))
    InstrumentListBox->setCurrentItem(item);
  UpdateActions();
  InstrumentPopupMenu->popup(InstrumentListBox->viewport()->mapToGlobal(pos));
}

void TOpenWaveForm::ShowWaveSamplePopup(const QPoint& pos) {
  if (QListWidgetItem* item = WaveSampleListBox->itemAt(pos))
    WaveSampleListBox->setCurrentItem(item);
  UpdateActions();
  WaveSamplePopupMenu->popup(WaveSampleListBox->viewport()->mapToGlobal(pos));
}

void TOpenWaveForm::RenameClick() {
  if (RenameListedInstrument(eps_, *RenameInstrForm, SelectedInstrument())) Refresh();
}

void TOpenWaveForm::DeleteInstrumentClick() {
  if (DeleteListedInstrument(eps_, SelectedInstrument())) Refresh();
}

void TOpenWaveForm::DeleteWaveSampleClick() {
  if (DeleteListedWaveSample(eps_, SelectedWaveSample())) Refresh();
}

}  // namespace kelvora::dialogs
