#pragma once

#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace kelvora::app {

// The program's help: the HTML help set built into the program, with its list of topics, a
// search over the topics' text, and back / forward / contents.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* mainWindow);

  // The contents page, and the topic of a context number (2 Preferences, 3 connection failure,
  // 4 upload; any other number shows the contents).
  void ShowContents();
  void ShowTopic(int context);
  static QUrl TopicUrl(int context);

  QTextBrowser* Browser() const { return browser_; }
  QListWidget* Topics() const { return topics_; }
  // Lists only the topics whose text holds every word of the query.
  void Search(const QString& query);

 private:
  void BuildLayout();
  void FillTopics();
  void Present(const QUrl& url);

  QTextBrowser* browser_;
  QListWidget* topics_;
  QLineEdit* search_;
};

}  // namespace kelvora::app
