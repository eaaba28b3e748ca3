#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "midi/MidiDriver.h"
#include "protocol/Eps.h"
#include "protocol/SessionUi.h"
#include "sim/SimOptions.h"
#include "transfer/Progress.h"
#include "transfer/TransferResult.h"
#include "transfer/UploadChoices.h"

// What the transfer benchmarks share: a simulated sampler in a process of its own (so that the
// program's CPU time and memory are measured without it), a quiet session and file helpers.
namespace kelvora::bench {

// The simulated sampler in a child process, talking over a socket pair. Create it before any
// thread exists: it forks. The options' pacing is the sampler's own (see SocketMidiDriver).
class SamplerProcess {
 public:
  explicit SamplerProcess(const sim::SimOptions& options);
  ~SamplerProcess();  // closes the socket and waits for the child
  SamplerProcess(const SamplerProcess&) = delete;
  SamplerProcess& operator=(const SamplerProcess&) = delete;

  int Socket() const { return socket_; }
  void Close();

 private:
  int socket_ = -1;
  pid_t child_ = -1;
};

// The program's end of the cable to a SamplerProcess, counting the bytes that cross it each way.
// A paced sampler times the wire itself, in both directions: it takes its input piece by piece
// as a 31250-baud wire would carry it and hands its answers on the same way. The driver adds no
// pacing and reports a message sent at once; with one request outstanding at a time the
// transfer still waits for every byte's wire time. (The loopback cable is not used: it keeps a
// copy of everything the program sends, which would count as the program's memory.)
class SocketMidiDriver : public midi::MidiDriver {
 public:
  explicit SocketMidiDriver(SamplerProcess& sampler);
  ~SocketMidiDriver() override;

  int InputCount() override { return 1; }
  std::string InputName(int) override { return "Sampler process"; }
  int OutputCount() override { return 1; }
  std::string OutputName(int) override { return "Sampler process"; }
  int OpenOutput(int device, int slot) override;
  void CloseOutput(int slot) override;
  void SendLong(int slot, const uint8_t* data, size_t length) override;
  int SendShort(int slot, uint32_t packed) override;
  int OpenInput(int device, int slot) override;
  void StartInput(int slot) override { started_ = slot == inSlot_.load(); }
  void StopInput(int) override { started_ = false; }
  void ResetInput(int) override { started_ = false; }
  void CloseInput(int slot) override;

  uint64_t BytesToSampler() const { return toSampler_.load(); }
  uint64_t BytesFromSampler() const { return fromSampler_.load(); }
  void ResetCounts();

 private:
  void ReadAnswers();

  SamplerProcess& sampler_;
  std::atomic<uint64_t> toSampler_{0};
  std::atomic<uint64_t> fromSampler_{0};
  std::atomic<int> inSlot_{-1};
  std::atomic<bool> started_{false};
  std::thread reader_;
};

class QuietUi : public protocol::SessionUi {
 public:
  void BeginWait() override {}
  void EndWait() override {}
  void UpdateCommands() override {}
  void RefreshView() override {}
  int ShowNoEps(protocol::TNoEpsReason) override { return protocol::mrCancel; }
  void ShowInvalidWaveSample() override {}
  void ShowWaveSampleIsCopy() override {}
  bool UploadDialogActive() override { return false; }
  void KeyPlayed(int) override {}
};

class QuietProgress : public transfer::TransferProgress {
 public:
  void SetCaption(const std::string&) override {}
  void ShowProgress() override {}
  void UpdateProgress(float, float) override {}
  void HideProgress() override {}
  bool Cancelled() override { return false; }
};

// A mono 16-bit file of `samples` samples of a pseudo-random signal, written in pieces so that
// the file is never held in memory.
void WriteSignalFile(const std::string& path, int64_t samples);
// True when the two files' data chunks are equal, whatever chunks follow them; read in pieces.
bool SameSamples(const std::string& a, const std::string& b);

// One transfer of a run, timed from just before the engine starts (after the preparation the
// windows do: devices, configuration, the wavesample's record) until it returns.
struct Timed {
  transfer::TransferResult result;
  double seconds = 0;
};
// `atStart` runs right before the timed part (to reset counters, read the CPU clock).
Timed TimedUpload(protocol::TEps& eps, const std::string& path,
                  const transfer::UploadChoices& choices, const std::function<void()>& atStart);
// Downloads the current wavesample (the one the upload left current).
Timed TimedDownload(protocol::TEps& eps, const std::string& path,
                    const std::function<void()>& atStart);

double NowSeconds();
double CpuSeconds();    // user + system time of this process so far
long PeakResidentKb();  // ru_maxrss of this process
std::string TempPath(const std::string& name);

}  // namespace kelvora::bench
