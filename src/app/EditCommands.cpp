#include "app/EditCommands.h"

#include <QScrollBar>
#include <vector>

#include "app/CommandTable.h"
#include "app/LoopTools.h"
#include "app/MainForm.h"
#include "app/PointRules.h"
#include "app/ScaleSegments.h"
#include "dialogs/PBModeForm.h"
#include "dialogs/ScaleDataForm.h"
#include "editor/WaveView.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"

namespace kelvora::app {

using protocol::TEps;

EditCommands::EditCommands(TMainForm& form)
    : form_(form),
      pbModeForm_(new dialogs::TPBModeForm(&form)),
      scaleDataForm_(new dialogs::TScaleDataForm(&form)) {
  Register();
}

void EditCommands::Register() {
  CommandTable& table = form_.Commands();
  table.SetHandler(Cmd::ClearData, [this] { ClearDataClick(); });
  table.SetHandler(Cmd::ReverseData, [this] { ReverseDataClick(); });
  table.SetHandler(Cmd::ScaleData, [this] { ScaleDataClick(); });
  table.SetHandler(Cmd::NormalizeGain, [this] { NormalizeGainClick(); });
  table.SetHandler(Cmd::FadeIn, [this] { FadeInClick(); });
  table.SetHandler(Cmd::FadeOut, [this] { FadeOutClick(); });
  table.SetHandler(Cmd::SetSampleStart, [this] { SetSampleStartClick(); });
  table.SetHandler(Cmd::SetSampleEnd, [this] { SetSampleEndClick(); });
  table.SetHandler(Cmd::SetLoopStart, [this] { SetLoopStartClick(); });
  table.SetHandler(Cmd::SetLoopEnd, [this] { SetLoopEndClick(); });
  table.SetHandler(Cmd::SetPlaybackMode, [this] { SetPlaybackModeClick(); });
}

bool EditCommands::SelectionReady() const {
  return form_.Eps().WsOpen && form_.View().HasSelection();
}

// The answer is not examined: a refused edit shows in the picture, which is fetched in any case
// (the edit has marked the overview stale, so even the whole-wavesample view asks the sampler).
void EditCommands::RunDataCommand(const std::function<void(TEps&)>& send) {
  TEps& eps = form_.Eps();
  const protocol::EpsWaitCursor wait(form_);
  send(eps);
  eps.WaitResult();
  eps.RefreshOverview();
  form_.Loops().DataChanged();
}

void EditCommands::RunPointRule(const std::function<void(int*)>& rule) {
  if (!SelectionReady()) return;
  form_.Loops().WriteRecord(rule);
  form_.Loops().RecordChanged();
}

// Range ends are exclusive on the wire, the selection's end inclusive. Fade In alone ends at the
// last selected sample itself, not one past it.
void EditCommands::ClearDataClick() {
  if (!SelectionReady()) return;
  const editor::WaveView& view = form_.View();
  RunDataCommand([&](TEps& eps) { eps.ClearData(view.SelStart(), view.SelEnd() + 1); });
}

void EditCommands::ReverseDataClick() {
  if (!SelectionReady()) return;
  const editor::WaveView& view = form_.View();
  RunDataCommand([&](TEps& eps) { eps.ReverseData(view.SelStart(), view.SelEnd() + 1); });
}

void EditCommands::FadeInClick() {
  if (!SelectionReady()) return;
  const editor::WaveView& view = form_.View();
  RunDataCommand([&](TEps& eps) { eps.FadeIn(view.SelStart(), view.SelEnd(), 0); });
}

void EditCommands::FadeOutClick() {
  if (!SelectionReady()) return;
  const editor::WaveView& view = form_.View();
  RunDataCommand([&](TEps& eps) { eps.FadeOut(view.SelStart(), view.SelEnd() + 1, 0); });
}

void EditCommands::NormalizeGainClick() {
  if (!form_.Eps().WsOpen) return;
  RunDataCommand([](TEps& eps) { eps.NormalizeGain(); });
}

// Cancel sends nothing. Each segment is answered before the next is sent.
void EditCommands::ScaleDataClick() {
  if (!SelectionReady()) return;
  const editor::WaveView& view = form_.View();
  if (scaleDataForm_->Execute(view.SelStart(), view.SelEnd()) != protocol::mrOk) return;
  SendScaleSegments();
}

void EditCommands::SendScaleSegments() {
  std::vector<ScaleNode> nodes;
  ScaleNode node;
  while (scaleDataForm_->GetNode(static_cast<int>(nodes.size()), node.position, node.level)) {
    nodes.push_back(node);
  }
  const int depth = scaleDataForm_->DepthScrollBar()->value();
  TEps& eps = form_.Eps();
  const protocol::EpsWaitCursor wait(form_);
  for (const ScaleSegment& s : ScaleSegments(nodes)) {
    eps.ScaleData(s.start, s.end, s.startLevel, s.endLevel, depth);
    eps.WaitResult();
  }
  eps.RefreshOverview();
  form_.Loops().DataChanged();
}

void EditCommands::SetSampleStartClick() {
  const int selStart = form_.View().SelStart();
  RunPointRule([selStart](int* ws) { ApplySampleStart(ws, selStart); });
}

void EditCommands::SetSampleEndClick() {
  const int selEnd = form_.View().SelEnd();
  RunPointRule([selEnd](int* ws) { ApplySampleEnd(ws, selEnd); });
}

void EditCommands::SetLoopStartClick() {
  const int selStart = form_.View().SelStart();
  RunPointRule([selStart](int* ws) { ApplyLoopStart(ws, selStart); });
}

void EditCommands::SetLoopEndClick() {
  const int selEnd = form_.View().SelEnd();
  RunPointRule([selEnd](int* ws) { ApplyLoopEnd(ws, selEnd); });
}

// The loop commands and the loop markers follow the new mode.
void EditCommands::SetPlaybackModeClick() {
  TEps& eps = form_.Eps();
  if (!eps.WsOpen) return;
  if (pbModeForm_->Execute(eps.WsParams[protocol::kWsPlaybackMode]) != protocol::mrOk) return;
  eps.WsParams[protocol::kWsPlaybackMode] = pbModeForm_->SelectedMode;
  {
    const protocol::EpsWaitCursor wait(form_);
    eps.WriteWsParams();
  }
  form_.UpdateCommands();
  form_.RefreshView();
  form_.Loops().RecordChanged();
}

}  // namespace kelvora::app
