#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>

#include "app/Commands.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QMainWindow;
class QMenu;
class QStyle;
class QToolButton;
class QWidget;

namespace kelvora::app {

// One line of the menu table.
struct CommandRow {
  Cmd id;
  const char* name;  // component name, also the QAction's objectName
  Cmd parent;        // Cmd::None for a menu of the menu bar
  const char* caption;
  const char* shortcut;  // QKeySequence text, "" for none
  const char* hint;      // status-bar text
  Enabling enabling;
  bool hidden;  // never in a menu; reached by shortcut or posted command
  bool separatorBefore;
};

// One tool button of the tool bar, left to right.
struct ToolRow {
  const char* name;
  Cmd command;       // the menu item it does the same as
  int size;          // design pixels, square
  const char* hint;  // tooltip "|" status text (always empty)
  const char* icon;  // resource path of the SVG picture
};

const CommandRow& RowOf(Cmd command);
const std::array<ToolRow, 19>& ToolRows();

// Builds the menu bar, the hidden items and the tool bar of the main window from the two tables,
// routes every trigger to the handler set for its command and applies the enabling rules. The
// enabling is set nowhere else.
class CommandTable : public QObject {
  Q_OBJECT

 public:
  explicit CommandTable(QMainWindow& window);

  QAction* Action(Cmd command) const { return actions_[Index(command)]; }
  QMenu* Menu(Cmd command) const { return menus_[Index(command)]; }
  QToolButton* Button(Cmd command) const;  // nullptr when the command has no button
  QWidget* TopPanel() const { return topPanel_; }

  void SetHandler(Cmd command, std::function<void()> handler);
  // Failures that escape a handler (the ports' "error: ..." exceptions) end up here.
  void SetErrorReporter(std::function<void(const QString&)> reporter);

  // Enables every menu item and tool button by its rule.
  void Apply(const CommandState& state);
  // Exactly one scale item is checked and one scale button down.
  void CheckScale(int index);

 private:
  static int Index(Cmd command) { return static_cast<int>(command); }
  void BuildMenus(QMainWindow& window);
  void BuildItem(const CommandRow& row, QMainWindow& window);
  void BuildTopPanel(QMainWindow& window);
  void Run(Cmd command);

  std::array<QAction*, kCommandCount> actions_{};
  std::array<QMenu*, kCommandCount> menus_{};
  std::array<std::function<void()>, kCommandCount> handlers_{};
  std::array<QToolButton*, 19> buttons_{};
  std::function<void(const QString&)> reportError_;
  QActionGroup* scaleItems_ = nullptr;
  QButtonGroup* scaleButtons_ = nullptr;
  QWidget* topPanel_ = nullptr;
  QStyle* menuStyle_ = nullptr;
};

}  // namespace kelvora::app
