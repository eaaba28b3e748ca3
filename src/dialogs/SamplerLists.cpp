#include "dialogs/SamplerLists.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>

#include "dialogs/ListEdits.h"
#include "dialogs/PortFailure.h"
#include "dialogs/RenameInstrForm.h"
#include "protocol/Eps.h"

namespace kelvora::dialogs {

namespace {

QAction* MenuItem(QMenu* menu, const QString& text, const QKeySequence& shortcut) {
  QAction* action = menu->addAction(text);
  action->setShortcut(shortcut);
  // Active in the open menu; the lists carry the keys themselves.
  action->setShortcutContext(Qt::WidgetShortcut);
  return action;
}

QListWidget* ListBox(QWidget* parent, QLabel* label) {
  auto* box = new QListWidget(parent);
  box->setSelectionMode(QAbstractItemView::SingleSelection);
  box->setContextMenuPolicy(Qt::CustomContextMenu);
  label->setBuddy(box);
  return box;
}

const TListEntry* EntryOfSelectedLine(const QListWidget* box, const TListEntry* entries,
                                      int capacity) {
  if (box == nullptr) return nullptr;
  const int line = SelectedLine(box);
  return line >= 0 && line < capacity ? &entries[line] : nullptr;
}

bool Listed(const TListEntry* entry) { return entry != nullptr && !entry->IsNew; }

}  // namespace

SamplerLists::SamplerLists(protocol::TEps& eps, bool withLayers, QWidget* parent)
    : QWidget(parent), eps_(eps) {
  RenameInstrForm = new TRenameInstrForm(this);
  InstrumentEntries = instruments_;
  WaveSampleEntries = waveSamples_;
  LayerEntries = withLayers ? layers_ : nullptr;
  BuildLists(withLayers);
  BuildMenus();
  BuildKeys();
  BuildLayout();
  UpdateActions();
}

void SamplerLists::BuildLists(bool withLayers) {
  InstrumentLabel = new QLabel(QStringLiteral("&Instrument"), this);
  WavesampleLabel = new QLabel(QStringLiteral("&Wavesample"), this);
  InstrumentListBox = ListBox(this, InstrumentLabel);
  WaveSampleListBox = ListBox(this, WavesampleLabel);
  connect(InstrumentListBox, &QListWidget::itemSelectionChanged, this,
          &SamplerLists::InstrumentChosen);
  connect(WaveSampleListBox, &QListWidget::itemSelectionChanged, this,
          &SamplerLists::WaveSampleChosen);
  for (QListWidget* box : {InstrumentListBox, WaveSampleListBox}) {
    connect(box, &QListWidget::itemDoubleClicked, this, &SamplerLists::LineActivated);
  }
  if (!withLayers) return;
  Label2 = new QLabel(QStringLiteral("&Layer"), this);
  LayerListBox = ListBox(this, Label2);
  connect(LayerListBox, &QListWidget::itemSelectionChanged, this, &SamplerLists::LayerChosen);
}

void SamplerLists::BuildMenus() {
  InstrumentPopupMenu = new QMenu(this);
  RenameMenuItem = MenuItem(InstrumentPopupMenu, QStringLiteral("Rename"), Qt::Key_F2);
  InstrumentPopupMenu->setDefaultAction(RenameMenuItem);
  DeleteInsMenuItem = MenuItem(InstrumentPopupMenu, QStringLiteral("Delete"), QKeySequence::Delete);
  InstrumentPopupMenu->addSeparator();
  RefreshInsMenuItem = MenuItem(InstrumentPopupMenu, QStringLiteral("Refresh"), Qt::Key_F5);
  WaveSamplePopupMenu = new QMenu(this);
  DeleteWsMenuItem = MenuItem(WaveSamplePopupMenu, QStringLiteral("Delete"), QKeySequence::Delete);
  WaveSamplePopupMenu->addSeparator();
  RefreshWsMenuItem = MenuItem(WaveSamplePopupMenu, QStringLiteral("Refresh"), Qt::Key_F5);
  ConnectPopup(InstrumentListBox, InstrumentPopupMenu);
  ConnectPopup(WaveSampleListBox, WaveSamplePopupMenu);
  if (LayerListBox != nullptr) {
    LayerPopupMenu = new QMenu(this);
    DeleteLayMenuItem = MenuItem(LayerPopupMenu, QStringLiteral("Delete"), QKeySequence::Delete);
    LayerPopupMenu->addSeparator();
    RefreshLayMenuItem = MenuItem(LayerPopupMenu, QStringLiteral("Refresh"), Qt::Key_F5);
    ConnectPopup(LayerListBox, LayerPopupMenu);
    connect(DeleteLayMenuItem, &QAction::triggered, this, [this] {
      RunListCommand([this] { return DeleteListedLayer(eps_, SelectedLayer()); });
    });
  }
  connect(RenameMenuItem, &QAction::triggered, this, [this] {
    RunListCommand(
        [this] { return RenameListedInstrument(eps_, *RenameInstrForm, SelectedInstrument()); });
  });
  connect(DeleteInsMenuItem, &QAction::triggered, this, [this] {
    RunListCommand([this] { return DeleteListedInstrument(eps_, SelectedInstrument()); });
  });
  connect(DeleteWsMenuItem, &QAction::triggered, this, [this] {
    RunListCommand([this] { return DeleteListedWaveSample(eps_, SelectedWaveSample()); });
  });
  for (QAction* refresh : {RefreshInsMenuItem, RefreshWsMenuItem, RefreshLayMenuItem}) {
    if (refresh != nullptr)
      connect(refresh, &QAction::triggered, this, &SamplerLists::RefreshRequested);
  }
}

void SamplerLists::BuildKeys() {
  // Del and F2 act on the list that has the focus; F5 refreshes from anywhere in the window.
  InstrumentListBox->addAction(RenameMenuItem);
  InstrumentListBox->addAction(DeleteInsMenuItem);
  WaveSampleListBox->addAction(DeleteWsMenuItem);
  if (LayerListBox != nullptr) LayerListBox->addAction(DeleteLayMenuItem);
  refreshKey_ = new QAction(this);
  refreshKey_->setShortcut(Qt::Key_F5);
  refreshKey_->setShortcutContext(Qt::WindowShortcut);
  addAction(refreshKey_);
  connect(refreshKey_, &QAction::triggered, this, &SamplerLists::RefreshRequested);
}

void SamplerLists::BuildLayout() {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  const std::pair<QLabel*, QListWidget*> columns[] = {{InstrumentLabel, InstrumentListBox},
                                                      {WavesampleLabel, WaveSampleListBox},
                                                      {Label2, LayerListBox}};
  // Wide enough for the longest line of each list without a scroll bar.
  const QString widest[] = {QStringLiteral("(8) WWWWWWWWWWWW"), QStringLiteral("WaveSample 127WW"),
                            QStringLiteral("Layer 8WWW")};
  for (int column = 0; column < 3 && columns[column].second != nullptr; ++column) {
    grid->addWidget(columns[column].first, 0, column);
    grid->addWidget(columns[column].second, 1, column);
    grid->setColumnStretch(column, column == 0 ? 3 : 2);
    columns[column].second->setMinimumWidth(fontMetrics().horizontalAdvance(widest[column]));
  }
}

void SamplerLists::ConnectPopup(QListWidget* box, QMenu* menu) {
  connect(box, &QWidget::customContextMenuRequested, this,
          [box, menu](const QPoint& pos) { PopupListMenu(box, menu, pos); });
}

void SamplerLists::SetOfferNew(bool offerNew) { offerNew_ = offerNew; }

void SamplerLists::SetCommandHooks(std::function<void()> before, std::function<void()> after) {
  beforeCommand_ = std::move(before);
  afterCommand_ = std::move(after);
}

void SamplerLists::SetColumnStretch(int column, int stretch) {
  static_cast<QGridLayout*>(layout())->setColumnStretch(column, stretch);
}

void SamplerLists::ReadAndFill() {
  if (beforeCommand_) beforeCommand_();
  try {
    eps_.ReadConfig();
    Fill();
  } catch (...) {
    if (afterCommand_) afterCommand_();
    throw;
  }
  if (afterCommand_) afterCommand_();
}

void SamplerLists::Fill() {
  {
    // Filling selects a line; the lists of the selected instrument are filled once, below.
    const QSignalBlocker blocker(InstrumentListBox);
    FillInstrumentList(InstrumentListBox, instruments_, eps_, offerNew_);
  }
  InstrumentChosen();
}

void SamplerLists::FillOfSelectedInstrument() {
  const TListEntry* instrument = SelectedInstrument();
  const int number = instrument != nullptr ? instrument->Number : -1;
  const QSignalBlocker waveSamples(WaveSampleListBox);
  FillWaveSampleList(WaveSampleListBox, waveSamples_, eps_, number, offerNew_);
  if (LayerListBox == nullptr) return;
  const QSignalBlocker layers(LayerListBox);
  FillLayerList(LayerListBox, layers_, eps_, number, offerNew_);
}

const TListEntry* SamplerLists::SelectedInstrument() const {
  return EntryOfSelectedLine(InstrumentListBox, instruments_, kInstrumentEntries);
}

const TListEntry* SamplerLists::SelectedWaveSample() const {
  return EntryOfSelectedLine(WaveSampleListBox, waveSamples_, kWaveSampleEntries);
}

const TListEntry* SamplerLists::SelectedLayer() const {
  return EntryOfSelectedLine(LayerListBox, layers_, kLayerEntries);
}

void SamplerLists::UpdateActions() {
  // A "<new>" line holds nothing the sampler could rename or delete.
  const bool loaded = Listed(SelectedInstrument());
  RenameMenuItem->setEnabled(loaded);
  DeleteInsMenuItem->setEnabled(loaded);
  DeleteWsMenuItem->setEnabled(Listed(SelectedWaveSample()));
  if (DeleteLayMenuItem != nullptr) DeleteLayMenuItem->setEnabled(Listed(SelectedLayer()));
}

void SamplerLists::InstrumentChosen() {
  FillOfSelectedInstrument();
  Q_EMIT Filled();
  UpdateActions();
  Q_EMIT SelectionChanged();
}

void SamplerLists::WaveSampleChosen() {
  const TListEntry* waveSample = SelectedWaveSample();
  if (waveSample != nullptr && LayerListBox != nullptr) {
    const QSignalBlocker layers(LayerListBox);
    SelectLayerOfWaveSample(LayerListBox, layers_, waveSample->Layer);
  }
  UpdateActions();
  Q_EMIT SelectionChanged();
}

void SamplerLists::LayerChosen() {
  UpdateActions();
  Q_EMIT SelectionChanged();
}

void SamplerLists::RunListCommand(const std::function<bool()>& command) {
  bool changed = false;
  if (beforeCommand_) beforeCommand_();
  const bool ran = RunShowingPortFailure(window(), [&] { changed = command(); });
  if (afterCommand_) afterCommand_();
  if (ran && changed) Q_EMIT RefreshRequested();
}

}  // namespace kelvora::dialogs
