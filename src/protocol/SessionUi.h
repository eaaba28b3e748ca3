#pragma once

namespace kelvora::protocol {

// Why the sampler could not be reached; the numbers are fixed.
enum TNoEpsReason {
  nrMidiInFailed = 1,
  nrMidiOutFailed = 2,
  nrNoAnswer = 3,
  nrNoSystem = 4,
};

// Modal results exchanged with dialogs.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrRetry = 4 };

// Everything the session asks of the user interface. The main window implements it; tests use a
// recording implementation, so the session runs without a screen.
class SessionUi {
 public:
  virtual ~SessionUi() = default;

  virtual void BeginWait() = 0;  // nested wait cursor
  virtual void EndWait() = 0;
  virtual void UpdateCommands() = 0;
  virtual void RefreshView() = 0;

  // The connection-failure dialog; returns its modal result (mrOk, mrRetry, or mrCancel when
  // closed).
  virtual int ShowNoEps(TNoEpsReason reason) = 0;
  // Warning box "Invalid Wavesample" (exclamation, OK, the system's default caption).
  virtual void ShowInvalidWaveSample() = 0;
  // Warning box "WaveSample is a Copy" (exclamation, OK, empty caption).
  virtual void ShowWaveSampleIsCopy() = 0;

  // Keys played on the sampler choose keys in the upload dialog while it is the active window.
  virtual bool UploadDialogActive() = 0;
  virtual void KeyPlayed(int key) = 0;
};

}  // namespace kelvora::protocol
