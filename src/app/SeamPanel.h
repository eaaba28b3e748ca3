#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kelvora::editor {
class SeamView;
}

namespace kelvora::app {

// The loop seam view under the waveform, with the line that offers a proposed loop: what was
// found, "Accept Loop" and "Dismiss". The line shows only while a proposal is up.
class SeamPanel : public QWidget {
 public:
  explicit SeamPanel(QWidget* parent = nullptr);

  editor::SeamView* View() const { return view_; }
  QPushButton* AcceptButton() const { return accept_; }
  QPushButton* DismissButton() const { return dismiss_; }
  QLabel* ProposalText() const { return text_; }

  // A proposal described by `text`; an empty text takes the line away.
  void ShowProposal(const QString& text);
  bool ProposalShown() const;

 private:
  editor::SeamView* view_;
  QWidget* proposalLine_;
  QLabel* text_;
  QPushButton* accept_;
  QPushButton* dismiss_;
};

}  // namespace kelvora::app
