#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "app/InfoStrip.h"
#include "editor/SeamScene.h"
#include "loops/LoopSuggestion.h"
#include "loops/SeamQuality.h"

namespace kelvora::app {

class SeamPanel;
class TMainForm;

// The loop tools of the main window: the info strip's numbers, the seam view, the loop quality
// mark, snapping to zero crossings and Suggest Loop. Every point they move goes through the
// point rules and is written back as the marker commands write it. The samples around the two
// loop points are read again (two GetWsData reads) whenever a loop point moved or the data
// changed, while the loop is on.
class LoopTools : public QObject {
 public:
  // Samples read on each side of a loop point for the seam view and the mark.
  static constexpr int kSeamRead = 128;
  // A typed loop point lands on the nearest rising crossing within this many samples.
  static constexpr int kSnapRadius = 32;
  // Suggest Loop proposes no loop shorter than this, unless the region itself is short.
  static constexpr int kShortestLoop = 64;

  LoopTools(TMainForm& form, InfoStrip& strip, SeamPanel& panel);

  // A wavesample was opened or closed.
  void WaveSampleChanged();
  // A command changed the open wavesample's record (points, playback mode).
  void RecordChanged();
  // A command changed the samples on the sampler.
  void DataChanged();
  // Applies a point rule to the open wavesample's record, writes the record back and shows it.
  void WriteRecord(const std::function<void(int*)>& rule);

  void SetSeamShown(bool shown);
  bool SeamShown() const;
  void SetSnap(bool snap);
  bool Snap() const { return snap_; }
  void SuggestLoopClick();
  void AcceptProposal();
  void DismissProposal();
  bool ProposalShown() const { return proposal_; }
  // The loop the record holds, with the samples read around its points.
  const editor::SeamScene& RecordSeam() const { return current_; }
  std::optional<loops::SeamGrade> Grade() const;

 private:
  void Register();
  void Connect();
  void Run(const std::function<void()>& command);
  bool Open() const;
  bool LoopOn() const;
  void Refresh(bool readSeam);
  bool ReadSeam();
  bool ReadWindow(int centre, loops::SampleWindow& window);
  void ShowGrade();
  int Peak();
  void TypedPoint(MarkerPoint point, int position);
  int SnapTyped(int position);
  void SeamMoved(editor::SeamSide side, int position);
  void SeamReleased();
  bool ReadRegion(const std::vector<loops::SampleRange>& reads,
                  std::vector<loops::SampleWindow>& windows);
  void Propose(const std::vector<loops::SampleWindow>& windows, int from, int to);
  void EndProposal();

  TMainForm& form_;
  InfoStrip& strip_;
  SeamPanel& panel_;
  editor::SeamScene current_;
  bool seamRead_ = false;
  bool proposal_ = false;
  bool snap_ = true;
  int peak_ = 1;
};

}  // namespace kelvora::app
