#include "app/CommandTable.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <exception>

#include "app/MenuHintStyle.h"
#include "app/ToolIcon.h"
#include "controls/DesignScale.h"

namespace kelvora::app {

namespace {
constexpr int kTopPanelHeight = 28;
constexpr int kScaleGroupGap = 8;
}  // namespace

CommandTable::CommandTable(QMainWindow& window) : QObject(&window) {
  BuildMenus(window);
  BuildTopPanel(window);
}

void CommandTable::BuildMenus(QMainWindow& window) {
  menuStyle_ = new MenuHintStyle;
  menuStyle_->setParent(this);
  scaleItems_ = new QActionGroup(this);
  scaleItems_->setExclusive(true);
  for (int i = 0; i < kCommandCount; ++i) BuildItem(RowOf(static_cast<Cmd>(i)), window);
}

void CommandTable::BuildItem(const CommandRow& row, QMainWindow& window) {
  const int index = Index(row.id);
  if (row.parent == Cmd::None || row.id == Cmd::VerticalScale) {
    QMenu* menu = row.parent == Cmd::None ? window.menuBar()->addMenu(row.caption)
                                          : menus_[Index(row.parent)]->addMenu(row.caption);
    menu->setObjectName(row.name);
    menu->setStyle(menuStyle_);
    menu->menuAction()->setObjectName(row.name);
    menu->menuAction()->setStatusTip(row.hint);
    menus_[index] = menu;
    actions_[index] = menu->menuAction();
    return;
  }
  auto* action = new QAction(row.caption, &window);
  action->setObjectName(row.name);
  action->setStatusTip(row.hint);
  action->setShortcut(QKeySequence(row.shortcut));
  if (ScaleIndex(row.id) >= 0) {
    action->setCheckable(true);
    scaleItems_->addAction(action);
  }
  // A hidden item belongs to the window only, so that its shortcut still works.
  if (row.hidden) {
    window.addAction(action);
  } else {
    QMenu* parent = menus_[Index(row.parent)];
    if (row.separatorBefore) parent->addSeparator();
    parent->addAction(action);
  }
  actions_[index] = action;
  connect(action, &QAction::triggered, this, [this, id = row.id] { Run(id); });
}

void CommandTable::BuildTopPanel(QMainWindow& window) {
  topPanel_ = new QWidget(&window);
  topPanel_->setObjectName("TopPanel");
  topPanel_->setFixedHeight(controls::Design(kTopPanelHeight, topPanel_));
  auto* layout = new QHBoxLayout(topPanel_);
  layout->setContentsMargins(4, 0, 4, 0);
  layout->setSpacing(1);
  scaleButtons_ = new QButtonGroup(this);
  scaleButtons_->setExclusive(true);
  for (size_t i = 0; i < ToolRows().size(); ++i) {
    const ToolRow& tool = ToolRows()[i];
    auto* button = new QToolButton(topPanel_);
    const int size = controls::Design(tool.size, button);
    button->setObjectName(tool.name);
    button->setFixedSize(size + 4, size + 4);
    button->setIconSize(QSize(size, size));
    button->setIcon(SvgIcon(tool.icon, size));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    const QString hint = tool.hint;
    button->setToolTip(hint.section('|', 0, 0));
    button->setStatusTip(hint.section('|', 1));
    if (ScaleIndex(tool.command) >= 0) {
      button->setCheckable(true);
      scaleButtons_->addButton(button);
    }
    if (tool.command == Cmd::SetSampleStart) layout->addSpacing(kScaleGroupGap);
    layout->addWidget(button, 0, Qt::AlignVCenter);
    connect(button, &QToolButton::clicked, this, [this, id = tool.command] { Run(id); });
    buttons_[i] = button;
  }
  layout->addStretch(1);
}

QToolButton* CommandTable::Button(Cmd command) const {
  for (size_t i = 0; i < ToolRows().size(); ++i) {
    if (ToolRows()[i].command == command) return buttons_[i];
  }
  return nullptr;
}

void CommandTable::SetHandler(Cmd command, std::function<void()> handler) {
  handlers_[Index(command)] = std::move(handler);
}

void CommandTable::SetErrorReporter(std::function<void(const QString&)> reporter) {
  reportError_ = std::move(reporter);
}

// The ports throw for failures nothing can mend ("error: ..."); they end the command and are
// reported instead of unwinding through the event loop.
void CommandTable::Run(Cmd command) {
  const auto& handler = handlers_[Index(command)];
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& failure) {
    if (reportError_) reportError_(QString::fromStdString(failure.what()));
  }
}

void CommandTable::Apply(const CommandState& state) {
  for (int i = 0; i < kCommandCount; ++i) {
    const CommandRow& row = RowOf(static_cast<Cmd>(i));
    actions_[i]->setEnabled(IsEnabled(row.enabling, state));
  }
  for (size_t i = 0; i < ToolRows().size(); ++i) {
    buttons_[i]->setEnabled(actions_[Index(ToolRows()[i].command)]->isEnabled());
  }
}

void CommandTable::CheckScale(int index) {
  if (index < 0 || index > 8) return;
  Action(ScaleCommand(index))->setChecked(true);
  Button(ScaleCommand(index))->setChecked(true);
}

}  // namespace kelvora::app
