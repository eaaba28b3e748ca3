#include "app/HelpWindow.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kelvora::app {

namespace {

struct Topic {
  const char* page;
  const char* title;
};

const Topic kTopics[] = {
    {"index.html", "Contents"},
    {"cabling.html", "Connecting your EPS/ASR"},
    {"preferences.html", "Preferences"},
    {"connection.html", "When Kelvora cannot reach the sampler"},
    {"editing.html", "Viewing and editing a wavesample"},
    {"upload.html", "Uploading WAV files"},
    {"download.html", "Downloading wavesamples"},
    {"simulator.html", "The simulated sampler"},
    {"commandline.html", "Command line and debug log"},
};

QUrl PageUrl(const QString& page) { return QUrl("qrc:/help/" + page); }

QString PlainTextOf(const QString& page) {
  QFile file(":/help/" + page);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  QTextDocument document;
  document.setHtml(QString::fromUtf8(file.readAll()));
  return document.toPlainText();
}

}  // namespace

HelpWindow::HelpWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
  setWindowTitle("Kelvora Help");
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  topics_ = new QListWidget(this);
  search_ = new QLineEdit(this);
  search_->setPlaceholderText("Search");
  search_->setClearButtonEnabled(true);
  BuildLayout();
  FillTopics();
  connect(search_, &QLineEdit::textChanged, this, &HelpWindow::Search);
  connect(topics_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { browser_->setSource(item->data(Qt::UserRole).toUrl()); });
  connect(topics_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { browser_->setSource(item->data(Qt::UserRole).toUrl()); });
  resize(760, 540);
}

void HelpWindow::BuildLayout() {
  auto* back = new QPushButton("Back", this);
  auto* forward = new QPushButton("Forward", this);
  auto* contents = new QPushButton("Contents", this);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents, &QPushButton::clicked, this, &HelpWindow::ShowContents);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  back->setEnabled(false);
  forward->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch(1);
  auto* side = new QWidget(this);
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->addWidget(search_);
  sideLayout->addWidget(topics_);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(side);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 520});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);
}

void HelpWindow::FillTopics() {
  for (const Topic& topic : kTopics) {
    auto* item = new QListWidgetItem(topic.title, topics_);
    item->setData(Qt::UserRole, PageUrl(topic.page));
    item->setData(Qt::UserRole + 1, PlainTextOf(topic.page));
  }
}

void HelpWindow::Search(const QString& query) {
  const QStringList words = query.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
  for (int row = 0; row < topics_->count(); ++row) {
    QListWidgetItem* item = topics_->item(row);
    const QString text = item->text() + "\n" + item->data(Qt::UserRole + 1).toString();
    bool match = true;
    for (const QString& word : words) match = match && text.contains(word, Qt::CaseInsensitive);
    item->setHidden(!match);
  }
}

QUrl HelpWindow::TopicUrl(int context) {
  switch (context) {
    case 2:
      return PageUrl("preferences.html");
    case 3:
      return PageUrl("connection.html");
    case 4:
      return PageUrl("upload.html");
    default:
      return PageUrl("index.html");
  }
}

void HelpWindow::ShowContents() { Present(PageUrl("index.html")); }

void HelpWindow::ShowTopic(int context) { Present(TopicUrl(context)); }

// A modal dialog blocks every other window, so help asked for from a dialog comes up modal over
// it; help asked for from the main window leaves the main window usable.
void HelpWindow::Present(const QUrl& url) {
  QWidget* modal = QApplication::activeModalWidget();
  const Qt::WindowModality modality = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
  if (windowModality() != modality) {
    hide();
    setWindowModality(modality);
  }
  browser_->setSource(url);
  show();
  raise();
  activateWindow();
}

}  // namespace kelvora::app
