#include "app/MainForm.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include "app/AppResources.h"
#include "app/CommandTable.h"
#include "app/DroppedFiles.h"
#include "app/EditCommands.h"
#include "app/InfoStrip.h"
#include "app/LoopTools.h"
#include "app/MainCommands.h"
#include "app/MainForms.h"
#include "app/SeamPanel.h"
#include "app/ToolIcon.h"
#include "app/TransferCommands.h"
#include "dialogs/NoEpsForm.h"
#include "dialogs/PortFailure.h"
#include "editor/WaveView.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"

namespace kelvora::app {

namespace {
bool LoopOn(int playbackMode) {
  return playbackMode != protocol::kForwardNoLoop && playbackMode != protocol::kBackwardNoLoop;
}
}  // namespace

TMainForm::TMainForm(const Options& options, QWidget* parent)
    : QMainWindow(parent),
      arguments_(options.arguments),
      settingsPath_(options.settingsPath),
      eps_(new protocol::TEps(*this, this)) {
  InitResources();
  if (QApplication::windowIcon().isNull()) {
    QApplication::setWindowIcon(SvgIcon(":/icons/kelvora.svg", 64));
  }
  setWindowTitle("Kelvora");
  commands_ = new CommandTable(*this);
  commands_->SetErrorReporter(
      [this](const QString& text) { dialogs::ShowPortFailure(this, text); });
  view_ = new editor::WaveView(*eps_, this);
  view_->SetOnStateChanged([this] { UpdateCommands(); });
  statusBar_ = new StatusPanels(this);
  statusBar_->SetOnPanelPressed([this](int panel) { StatusBarMouseDown(panel); });
  seamPanel_ = new SeamPanel(this);
  strip_ = new InfoStrip(this);
  BuildLayout();
  forms_ = std::make_unique<MainForms>(*eps_, downloadFormat_, this);
  main_ = std::make_unique<MainCommands>(*this);
  edits_ = std::make_unique<EditCommands>(*this);
  transfers_ = std::make_unique<TransferCommands>(*this);
  loops_ = new LoopTools(*this, *strip_, *seamPanel_);
  setAcceptDrops(true);
  FormCreate();
}

// The session goes last: the view and the dialogs refer to it until they are gone.
TMainForm::~TMainForm() {
  delete loops_;
  loops_ = nullptr;
  transfers_.reset();
  edits_.reset();
  main_.reset();
  delete view_;
  view_ = nullptr;
  forms_.reset();
  delete eps_;
  eps_ = nullptr;
}

// Menu bar, a 2-pixel bevel, the tool bar, the view filling the rest, the status bar.
void TMainForm::BuildLayout() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bevel = new QFrame(central);
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setFixedHeight(2);
  commands_->TopPanel()->setParent(central);
  view_->setParent(central);
  view_->setObjectName("Panel1");
  statusBar_->setParent(central);
  seamPanel_->setParent(central);
  strip_->setParent(central);
  layout->addWidget(bevel);
  layout->addWidget(commands_->TopPanel());
  layout->addWidget(view_, 1);
  layout->addWidget(seamPanel_);
  layout->addWidget(strip_);
  layout->addWidget(statusBar_);
  setCentralWidget(central);
}

void TMainForm::BeginWait() { wait_.BeginWait(); }

void TMainForm::EndWait() { wait_.EndWait(); }

CommandState TMainForm::CurrentCommandState() const {
  CommandState state;
  state.wsOpen = eps_->WsOpen;
  state.hasSelection = view_->HasSelection();
  state.loopOn = LoopOn(eps_->WsParams[protocol::kWsPlaybackMode]);
  state.zoomed = eps_->Zoomed;
  state.viewStep = eps_->ViewStep;
  return state;
}

StatusState TMainForm::CurrentStatusState() const {
  StatusState state;
  state.wsOpen = eps_->WsOpen;
  state.loopOn = LoopOn(eps_->WsParams[protocol::kWsPlaybackMode]);
  state.sampleStart = protocol::GetPosition(eps_->WsParams, protocol::kWsSampleStart);
  state.sampleEnd = protocol::GetPosition(eps_->WsParams, protocol::kWsSampleEnd);
  state.loopStart = protocol::GetPosition(eps_->WsParams, protocol::kWsLoopStart);
  state.loopEnd = protocol::GetPosition(eps_->WsParams, protocol::kWsLoopEnd);
  state.hasSelection = view_->HasSelection();
  state.selStart = view_->SelStart();
  state.selEnd = view_->SelEnd();
  return state;
}

void TMainForm::UpdateCommands() {
  if (!view_) return;
  commands_->Apply(CurrentCommandState());
  UpdateStatusBar();
}

void TMainForm::UpdateStatusBar() {
  if (!view_) return;
  statusBar_->SetTexts(StatusPanels::Texts(CurrentStatusState()));
}

void TMainForm::RefreshView() {
  if (view_) view_->RefreshView();
}

void TMainForm::ResetView() {
  view_->ResetView();
  if (loops_) loops_->WaveSampleChanged();
}

void TMainForm::SetVerticalScale(int index) {
  view_->SetVerticalScale(index);
  commands_->CheckScale(view_->VerticalScale());
}

// The jump goes to the 512 positions around the marker of the panel; only the markers shown
// (sample points when open, loop points when the loop is on too) can be jumped to.
void TMainForm::StatusBarMouseDown(int panel) {
  const StatusState state = CurrentStatusState();
  if (!state.wsOpen) return;
  int position = 0;
  switch (panel) {
    case 0:
      position = state.sampleStart;
      break;
    case 1:
      position = state.sampleEnd;
      break;
    case 2:
      if (!state.loopOn) return;
      position = state.loopStart;
      break;
    case 3:
      if (!state.loopOn) return;
      position = state.loopEnd;
      break;
    default:
      return;
  }
  view_->ClearSelection();
  UpdateCommands();
  view_->JumpTo(position);
}

int TMainForm::ShowNoEps(protocol::TNoEpsReason reason) {
  return forms_->NoEpsForm->Execute(reason);
}

void TMainForm::ShowInvalidWaveSample() {
  QMessageBox::warning(isVisible() ? this : nullptr, "Kelvora", "Invalid Wavesample");
}

void TMainForm::ShowWaveSampleIsCopy() {
  QMessageBox::warning(isVisible() ? this : nullptr, "", "WaveSample is a Copy");
}

bool TMainForm::UploadDialogActive() { return transfers_ && transfers_->UploadDialogActive(); }

void TMainForm::KeyPlayed(int key) {
  if (transfers_) transfers_->KeyPlayed(key);
}

void TMainForm::PostCommand(Cmd command) {
  QMetaObject::invokeMethod(commands_->Action(command), &QAction::trigger, Qt::QueuedConnection);
}

// The status part of the hint under the mouse or of the highlighted menu item.
bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TMainForm::ApplicationHint(const QString& hint) { statusBar_->ShowHint(hint); }

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!transfers_->Running() && !DroppedAudioFiles(event->mimeData()->urls()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event) {
  if (!transfers_->Running()) event->acceptProposedAction();
}

// The uploads start after the drop has returned, so the program the files came from is not
// held up by the upload dialogs.
void TMainForm::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedAudioFiles(event->mimeData()->urls());
  if (transfers_->Running() || files.isEmpty()) return;
  event->acceptProposedAction();
  transfers_->QueueUploads(files);
}

}  // namespace kelvora::app
