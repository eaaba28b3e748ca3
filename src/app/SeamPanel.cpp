#include "app/SeamPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/SeamView.h"

namespace kelvora::app {

SeamPanel::SeamPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SeamPanel"));
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  view_ = new editor::SeamView(this);
  proposalLine_ = new QWidget(this);
  text_ = new QLabel(proposalLine_);
  text_->setObjectName(QStringLiteral("ProposalText"));
  accept_ = new QPushButton(QStringLiteral("Acce&pt Loop"), proposalLine_);
  accept_->setObjectName(QStringLiteral("AcceptLoopButton"));
  dismiss_ = new QPushButton(QStringLiteral("Dis&miss"), proposalLine_);
  dismiss_->setObjectName(QStringLiteral("DismissLoopButton"));
  auto* line = new QHBoxLayout(proposalLine_);
  line->setContentsMargins(4, 0, 4, 0);
  line->addWidget(text_, 1);
  line->addWidget(accept_);
  line->addWidget(dismiss_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(view_, 1);
  layout->addWidget(proposalLine_);
  proposalLine_->hide();
}

void SeamPanel::ShowProposal(const QString& text) {
  text_->setText(text);
  proposalLine_->setVisible(!text.isEmpty());
}

bool SeamPanel::ProposalShown() const { return !proposalLine_->isHidden(); }

}  // namespace kelvora::app
