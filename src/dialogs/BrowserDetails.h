#pragma once

#include <QObject>

class QListWidget;

namespace kelvora::protocol {
class TEps;
class WsDetailReader;
}  // namespace kelvora::protocol

namespace kelvora::dialogs {

class SamplerLists;

// The details of the browser's lines. Each instrument line gets its layer and wavesample counts
// from the configuration just read. Each wavesample line gets length, rate, root key, key range,
// playback mode and whether it is a copy from its parameter record, which costs about 0.15 s on
// the wire: the lists appear as before, then the records of the lines in view of the listed
// instrument are read one after another (the window stays responsive) and each line fills in as
// its record arrives. Records already read come from the session's cache.
class BrowserDetails : public QObject {
 public:
  BrowserDetails(protocol::TEps& eps, SamplerLists& lists);
  ~BrowserDetails() override;

  // Ends the reading between two exchanges, so that a command can talk to the sampler.
  void Stop();
  // Stops and reads nothing more until as many Resume calls have come: around a command, whose
  // own dialogs let the event loop run on.
  void Pause();
  void Resume();
  protocol::WsDetailReader& Reader() { return *reader_; }
  // The details a line shows now; empty while its record is not in.
  static QString DetailsOf(const QListWidget* box, int line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Filled();
  void ShowInstrumentCounts();
  void ShowWaveSample(int instrument, int waveSample);
  void QueueLinesInView();

  protocol::TEps& eps_;
  SamplerLists& lists_;
  protocol::WsDetailReader* reader_;
  int paused_ = 0;
};

}  // namespace kelvora::dialogs
