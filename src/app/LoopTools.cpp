#include "app/LoopTools.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>

#include "app/CommandTable.h"
#include "app/MainForm.h"
#include "app/PointRules.h"
#include "app/SeamPanel.h"
#include "dialogs/PortFailure.h"
#include "editor/SeamMark.h"
#include "editor/SeamView.h"
#include "editor/WaveView.h"
#include "loops/ZeroCrossings.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"

namespace kelvora::app {

using editor::SeamScene;
using editor::SeamSide;
using loops::SampleWindow;
using protocol::GetPosition;
using protocol::TEps;

namespace {

int MaxAbs(const int* values, int count) {
  int peak = 0;
  for (int i = 0; i < count; ++i) peak = std::max(peak, std::abs(values[i]));
  return peak;
}

int MaxAbs(const SampleWindow& window) {
  return window.samples.empty() ? 0 : MaxAbs(window.samples.data(), int(window.samples.size()));
}

}  // namespace

LoopTools::LoopTools(TMainForm& form, InfoStrip& strip, SeamPanel& panel)
    : QObject(&form), form_(form), strip_(strip), panel_(panel) {
  Register();
  Connect();
  panel_.hide();
  Refresh(false);
}

void LoopTools::Register() {
  CommandTable& table = form_.Commands();
  QAction* snap = table.Action(Cmd::SnapToZero);
  snap->setCheckable(true);
  snap->setChecked(snap_);
  table.Action(Cmd::LoopSeam)->setCheckable(true);
  table.SetHandler(Cmd::SnapToZero, [this, snap] { SetSnap(snap->isChecked()); });
  table.SetHandler(Cmd::LoopSeam,
                   [this, &table] { SetSeamShown(table.Action(Cmd::LoopSeam)->isChecked()); });
  table.SetHandler(Cmd::SuggestLoop, [this] { SuggestLoopClick(); });
}

void LoopTools::Connect() {
  editor::SeamView* view = panel_.View();
  view->SetSnap(snap_);
  connect(&strip_, &InfoStrip::PointTyped, this, [this](MarkerPoint point, int position) {
    Run([=, this] { TypedPoint(point, position); });
  });
  connect(view, &editor::SeamView::PointMoved, this, &LoopTools::SeamMoved);
  connect(view, &editor::SeamView::PointReleased, this,
          [this] { Run([this] { SeamReleased(); }); });
  connect(view, &editor::SeamView::AcceptRequested, this, &LoopTools::AcceptProposal);
  connect(view, &editor::SeamView::DismissRequested, this, &LoopTools::DismissProposal);
  connect(panel_.AcceptButton(), &QPushButton::clicked, this, &LoopTools::AcceptProposal);
  connect(panel_.DismissButton(), &QPushButton::clicked, this, &LoopTools::DismissProposal);
}

// The tools' own controls talk to the sampler outside the command table: a port failure is
// shown here instead of unwinding through the event loop.
void LoopTools::Run(const std::function<void()>& command) {
  dialogs::RunShowingPortFailure(&form_, command);
}

bool LoopTools::Open() const { return form_.Eps().WsOpen; }

bool LoopTools::LoopOn() const {
  return Open() && LoopIsOn(form_.Eps().WsParams[protocol::kWsPlaybackMode]);
}

void LoopTools::WaveSampleChanged() {
  EndProposal();
  seamRead_ = false;
  Run([this] { Refresh(true); });
}

void LoopTools::RecordChanged() {
  const int* ws = form_.Eps().WsParams;
  const bool moved = GetPosition(ws, protocol::kWsLoopStart) != current_.loopStart ||
                     GetPosition(ws, protocol::kWsLoopEnd) != current_.loopEnd;
  EndProposal();
  Run([this, moved] { Refresh(moved || !seamRead_); });
}

void LoopTools::DataChanged() {
  EndProposal();
  seamRead_ = false;
  Run([this] { Refresh(true); });
}

// The strip always; the seam only while the loop is on.
void LoopTools::Refresh(bool readSeam) {
  TEps& eps = form_.Eps();
  strip_.ShowRecord(Open(), eps.WsParams);
  if (!LoopOn()) {
    seamRead_ = false;
    current_ = SeamScene{};
  } else if (readSeam || !seamRead_) {
    seamRead_ = ReadSeam();
  }
  if (!proposal_) panel_.View()->SetScene(current_);
  ShowGrade();
}

bool LoopTools::ReadSeam() {
  const int* ws = form_.Eps().WsParams;
  current_ = SeamScene{};
  current_.loopStart = GetPosition(ws, protocol::kWsLoopStart);
  current_.loopEnd = GetPosition(ws, protocol::kWsLoopEnd);
  const protocol::EpsWaitCursor wait(form_);
  return ReadWindow(current_.loopEnd, current_.endSide) &&
         ReadWindow(current_.loopStart, current_.startSide);
}

// Positions past the sample end hold the silence added when the wavesample was opened.
bool LoopTools::ReadWindow(int centre, SampleWindow& window) {
  TEps& eps = form_.Eps();
  const int limit = eps.WsLast + 1;
  const int from = std::clamp(centre - kSeamRead, 0, std::max(limit - 1, 0));
  const int to = std::clamp(centre + kSeamRead, from + 1, std::max(limit, from + 1));
  window.first = from;
  window.samples.assign(static_cast<size_t>(to - from), 0);
  if (eps.ReadWsData(from, to, window.samples.data())) return true;
  window.samples.clear();
  return false;
}

int LoopTools::Peak() {
  TEps& eps = form_.Eps();
  if (eps.ViewStart == 0 && eps.ViewEnd >= eps.WsLast + 1) {
    peak_ = MaxAbs(eps.Overview, protocol::kOverviewPoints);
  } else if (!eps.OverviewStale) {
    peak_ = MaxAbs(eps.FullOverview, protocol::kOverviewPoints);
  }
  const SeamScene& scene = panel_.View()->Scene();
  return std::max({peak_, MaxAbs(scene.endSide), MaxAbs(scene.startSide), 1});
}

std::optional<loops::SeamGrade> LoopTools::Grade() const { return strip_.Mark()->Grade(); }

void LoopTools::ShowGrade() {
  const SeamScene& scene = panel_.View()->Scene();
  const auto measure =
      LoopOn() ? loops::MeasureSeam(scene.endSide, scene.startSide, scene.loopStart, scene.loopEnd)
               : std::nullopt;
  if (measure) {
    const int peak = Peak();
    strip_.Mark()->SetGrade(loops::GradeSeam(*measure, peak), loops::SeamShare(*measure, peak));
  } else {
    strip_.Mark()->SetGrade(std::nullopt);
  }
  strip_.UpdateMarkText();
}

void LoopTools::WriteRecord(const std::function<void(int*)>& rule) {
  TEps& eps = form_.Eps();
  const protocol::EpsWaitCursor wait(form_);
  rule(eps.WsParams);
  eps.WriteWsParams();
  form_.RefreshView();
  form_.UpdateStatusBar();
}

void LoopTools::TypedPoint(MarkerPoint point, int position) {
  if (!Open()) return;
  const bool loopPoint = point == MarkerPoint::LoopStart || point == MarkerPoint::LoopEnd;
  if (loopPoint && !LoopOn()) return;
  if (loopPoint && snap_) position = SnapTyped(position);
  WriteRecord([point, position](int* ws) {
    switch (point) {
      case MarkerPoint::SampleStart:
        return ApplySampleStart(ws, position);
      case MarkerPoint::SampleEnd:
        return ApplySampleEnd(ws, position);
      case MarkerPoint::LoopStart:
        return ApplyLoopStart(ws, position);
      case MarkerPoint::LoopEnd:
        return ApplyLoopEnd(ws, position);
    }
  });
  EndProposal();
  Refresh(loopPoint);
}

// The samples around the typed point decide: one read of the snap window.
int LoopTools::SnapTyped(int position) {
  SampleWindow window;
  TEps& eps = form_.Eps();
  window.first = std::max(position - kSnapRadius - 1, 0);
  const int to = std::min(position + kSnapRadius + 1, eps.WsLast + 1);
  if (to <= window.first) return position;
  window.samples.assign(static_cast<size_t>(to - window.first), 0);
  const protocol::EpsWaitCursor wait(form_);
  if (!eps.ReadWsData(window.first, to, window.samples.data())) return position;
  return loops::NearestRisingCrossing(window, position, kSnapRadius).value_or(position);
}

// Live: the point as the rules would store it, shown in the seam view, the strip and the mark;
// the sampler hears of it on release.
void LoopTools::SeamMoved(SeamSide side, int position) {
  if (!LoopOn()) return;
  editor::SeamView* view = panel_.View();
  int ws[protocol::kWsParamWords];
  std::copy(std::begin(form_.Eps().WsParams), std::end(form_.Eps().WsParams), ws);
  protocol::SetPosition(ws, protocol::kWsLoopStart, view->Scene().loopStart);
  protocol::SetPosition(ws, protocol::kWsLoopEnd, view->Scene().loopEnd);
  if (side == SeamSide::LoopStart) {
    ApplyLoopStart(ws, position);
  } else {
    ApplyLoopEnd(ws, position);
  }
  view->SetPoints(GetPosition(ws, protocol::kWsLoopStart), GetPosition(ws, protocol::kWsLoopEnd));
  strip_.ShowLoop(view->Scene().loopStart, view->Scene().loopEnd);
  ShowGrade();
}

void LoopTools::SeamReleased() {
  if (proposal_ || !LoopOn()) return;
  const SeamScene& scene = panel_.View()->Scene();
  if (scene.loopStart == current_.loopStart && scene.loopEnd == current_.loopEnd) return;
  const int start = scene.loopStart;
  const int end = scene.loopEnd;
  WriteRecord([start, end](int* ws) { ApplyLoopPoints(ws, start, end); });
  Refresh(true);
}

void LoopTools::SetSeamShown(bool shown) {
  form_.Commands().Action(Cmd::LoopSeam)->setChecked(shown);
  panel_.setVisible(shown);
  if (shown && LoopOn() && !seamRead_) Run([this] { Refresh(true); });
}

bool LoopTools::SeamShown() const { return !panel_.isHidden(); }

void LoopTools::SetSnap(bool snap) {
  snap_ = snap;
  form_.Commands().Action(Cmd::SnapToZero)->setChecked(snap);
  panel_.View()->SetSnap(snap);
}

void LoopTools::EndProposal() {
  proposal_ = false;
  panel_.ShowProposal(QString());
  panel_.View()->SetCaption(QString());
}

void LoopTools::AcceptProposal() {
  if (!proposal_) return;
  const int start = panel_.View()->Scene().loopStart;
  const int end = panel_.View()->Scene().loopEnd;
  EndProposal();
  Run([this, start, end] {
    WriteRecord([start, end](int* ws) { ApplyLoopPoints(ws, start, end); });
    Refresh(true);
  });
}

void LoopTools::DismissProposal() {
  if (!proposal_) return;
  EndProposal();
  panel_.View()->SetScene(current_);
  strip_.ShowLoop(current_.loopStart, current_.loopEnd);
  ShowGrade();
}

}  // namespace kelvora::app
