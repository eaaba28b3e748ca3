#include "dialogs/BrowserDetails.h"

#include <QEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>
#include <vector>

#include "dialogs/DetailDelegate.h"
#include "dialogs/SamplerLists.h"
#include "dialogs/WsFacts.h"
#include "protocol/Eps.h"
#include "protocol/WsDetailReader.h"

namespace kelvora::dialogs {

namespace {

QString Counted(int count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

void SetDetails(QListWidgetItem* item, const QString& details) {
  item->setData(kDetailRole, details);
  item->setToolTip(item->text() + QStringLiteral(": ") + details);
}

}  // namespace

BrowserDetails::BrowserDetails(protocol::TEps& eps, SamplerLists& lists)
    : QObject(&lists), eps_(eps), lists_(lists), reader_(new protocol::WsDetailReader(eps, this)) {
  for (QListWidget* box : {lists.InstrumentListBox, lists.WaveSampleListBox}) {
    box->setItemDelegate(new DetailDelegate(box));
  }
  lists.WaveSampleListBox->viewport()->installEventFilter(this);
  connect(lists.WaveSampleListBox->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &BrowserDetails::QueueLinesInView);
  connect(&lists, &SamplerLists::Filled, this, &BrowserDetails::Filled);
  connect(reader_, &protocol::WsDetailReader::Arrived, this, &BrowserDetails::ShowWaveSample);
}

BrowserDetails::~BrowserDetails() { Stop(); }

void BrowserDetails::Stop() { reader_->Stop(); }

void BrowserDetails::Pause() {
  ++paused_;
  Stop();
}

void BrowserDetails::Resume() {
  if (paused_ > 0 && --paused_ == 0) QTimer::singleShot(0, this, &BrowserDetails::QueueLinesInView);
}

QString BrowserDetails::DetailsOf(const QListWidget* box, int line) {
  const QListWidgetItem* item = box->item(line);
  return item ? item->data(kDetailRole).toString() : QString();
}

// Another instrument is listed: what was being read for the last one is no longer wanted.
void BrowserDetails::Filled() {
  Stop();
  ShowInstrumentCounts();
  const TListEntry* instrument = lists_.SelectedInstrument();
  if (instrument != nullptr) {
    for (int w = 1; w <= protocol::kWaveSamples; ++w) ShowWaveSample(instrument->Number, w);
  }
  // Which lines are in view is known once the list is laid out.
  QTimer::singleShot(0, this, &BrowserDetails::QueueLinesInView);
}

void BrowserDetails::ShowInstrumentCounts() {
  QListWidget* box = lists_.InstrumentListBox;
  for (int line = 0; line < box->count(); ++line) {
    const TListEntry& entry = lists_.InstrumentEntries[line];
    if (entry.IsNew) continue;
    int layers = 0;
    int waveSamples = 0;
    for (bool used : eps_.LayerInUse[entry.Number]) layers += used;
    for (bool used : eps_.WsInUse[entry.Number]) waveSamples += used;
    box->item(line)->setData(kDetailRole, Counted(layers, "layer", "layers") +
                                              QStringLiteral(", ") +
                                              Counted(waveSamples, "wavesample", "wavesamples"));
  }
}

void BrowserDetails::ShowWaveSample(int instrument, int waveSample) {
  const auto* record = eps_.WsRecords().Find(instrument, waveSample);
  if (record == nullptr) return;
  QListWidget* box = lists_.WaveSampleListBox;
  for (int line = 0; line < box->count(); ++line) {
    const TListEntry& entry = lists_.WaveSampleEntries[line];
    if (entry.IsNew || entry.Instrument != instrument || entry.Number != waveSample - 1) continue;
    SetDetails(box->item(line), DetailText(FactsOf(record->data())));
  }
}

// Only while the browser is up: once it has closed, the sampler belongs to whatever comes next.
void BrowserDetails::QueueLinesInView() {
  if (paused_ > 0 || !lists_.window()->isVisible()) return;
  QListWidget* box = lists_.WaveSampleListBox;
  const QRect view = box->viewport()->rect();
  std::vector<protocol::Target> targets;
  for (int line = 0; line < box->count(); ++line) {
    const TListEntry& entry = lists_.WaveSampleEntries[line];
    if (entry.IsNew || !box->visualItemRect(box->item(line)).intersects(view)) continue;
    if (!DetailsOf(box, line).isEmpty()) continue;
    targets.push_back({entry.Instrument, std::max(entry.Layer, 0), entry.Number + 1});
  }
  reader_->Queue(targets);
}

bool BrowserDetails::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
    QTimer::singleShot(0, this, &BrowserDetails::QueueLinesInView);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kelvora::dialogs
