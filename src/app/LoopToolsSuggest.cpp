// Suggest Loop: what it reads is announced before anything goes over the wire; what it finds is
// only proposed, in the seam view, until the user accepts it.
#include <QMessageBox>
#include <algorithm>

#include "app/LoopTools.h"
#include "app/MainForm.h"
#include "app/SeamPanel.h"
#include "editor/SeamMark.h"
#include "editor/SeamView.h"
#include "editor/WaveView.h"
#include "loops/LoopSuggestion.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"

namespace kelvora::app {

using loops::SampleRange;
using loops::SampleWindow;

namespace {

// 31250 baud is 3125 bytes a second; a sample word costs 3 bytes, each read about 40 more.
double WireSeconds(const std::vector<SampleRange>& reads) {
  return (3.0 * loops::PlannedSamples(reads) + 40.0 * reads.size()) / 3125.0;
}

QString Announcement(const std::vector<SampleRange>& reads, int from, int to) {
  const QString windows =
      reads.size() == 1 ? QStringLiteral("one window")
                        : QStringLiteral("two windows of %1 samples").arg(loops::kSuggestWindow);
  return QStringLiteral(
             "Suggest Loop reads %1 samples of this wavesample (%2) over MIDI, which takes about "
             "%3 s.\n\nIt looks for loop points between positions %4 and %5. Nothing changes on "
             "the sampler until you accept the loop it proposes.")
      .arg(loops::PlannedSamples(reads))
      .arg(windows)
      .arg(std::max(1.0, WireSeconds(reads)), 0, 'f', 0)
      .arg(from)
      .arg(to - 1);
}

}  // namespace

// Within the selection, or the last half of the wavesample when nothing is selected.
void LoopTools::SuggestLoopClick() {
  if (!LoopOn()) return;
  protocol::TEps& eps = form_.Eps();
  const editor::WaveView& view = form_.View();
  const int start = protocol::GetPosition(eps.WsParams, protocol::kWsSampleStart);
  const int end = protocol::GetPosition(eps.WsParams, protocol::kWsSampleEnd);
  int from = view.HasSelection() ? view.SelStart() : start + (end - start) / 2;
  int to = view.HasSelection() ? view.SelEnd() + 1 : end;
  from = std::max(from, 0);
  to = std::min(to, eps.WsLast + 1);
  const std::vector<SampleRange> reads = loops::PlanSuggestion(from, to);
  if (reads.empty()) {
    QMessageBox::information(&form_, QStringLiteral("Suggest Loop"),
                             QStringLiteral("There are no samples to look in."));
    return;
  }
  const auto answer =
      QMessageBox::question(&form_, QStringLiteral("Suggest Loop"), Announcement(reads, from, to),
                            QMessageBox::Ok | QMessageBox::Cancel);
  if (answer != QMessageBox::Ok) return;
  std::vector<SampleWindow> windows;
  if (!ReadRegion(reads, windows)) {
    QMessageBox::warning(&form_, QStringLiteral("Suggest Loop"),
                         QStringLiteral("The sampler did not send the samples to look in."));
    return;
  }
  Propose(windows, from, to);
}

bool LoopTools::ReadRegion(const std::vector<SampleRange>& reads,
                           std::vector<SampleWindow>& windows) {
  const protocol::EpsWaitCursor wait(form_);
  for (const SampleRange& range : reads) {
    SampleWindow window{range.start, std::vector<int>(static_cast<size_t>(range.Count()), 0)};
    if (!form_.Eps().ReadWsData(range.start, range.end, window.samples.data())) return false;
    windows.push_back(std::move(window));
  }
  return true;
}

void LoopTools::Propose(const std::vector<SampleWindow>& windows, int from, int to) {
  const int shortest = std::max(1, std::min(kShortestLoop, (to - from) / 2));
  const auto loop = loops::SuggestLoop(windows.front(), windows.back(), shortest);
  if (!loop) {
    QMessageBox::information(&form_, QStringLiteral("Suggest Loop"),
                             QStringLiteral("No loop found: the samples looked in hold no two "
                                            "rising zero crossings far enough apart."));
    return;
  }
  editor::SeamScene scene;
  scene.startSide = windows.front();
  scene.endSide = windows.back();
  scene.loopStart = loop->loopStart;
  scene.loopEnd = loop->loopEnd;
  proposal_ = true;
  SetSeamShown(true);
  panel_.View()->SetScene(scene);
  panel_.View()->SetCaption(QStringLiteral("Proposed loop"));
  strip_.ShowLoop(scene.loopStart, scene.loopEnd);
  ShowGrade();
  panel_.ShowProposal(QStringLiteral("Proposed loop %1 \u2013 %2 (%3 samples). %4")
                          .arg(scene.loopStart)
                          .arg(scene.loopEnd)
                          .arg(scene.loopEnd - scene.loopStart)
                          .arg(strip_.Mark()->Text()));
  panel_.View()->setFocus();
}

}  // namespace kelvora::app
