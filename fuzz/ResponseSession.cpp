#include "ResponseSession.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FuzzCheck.h"
#include "FuzzClock.h"
#include "WavFiles.h"
#include "midi/Clock.h"
#include "protocol/Eps.h"
#include "support/ScopedClock.h"
#include "support/ScopedDriver.h"
#include "support/SessionRecordingUi.h"
#include "transfer/DownloadEngine.h"
#include "transfer/UploadEngine.h"

namespace kelvora::fuzz {
namespace {

using namespace protocol;

constexpr int kMaxProcessCalls = 64;

// The transfers' waits for a byte count have no limit of their own: the user leaves them with
// Cancel. This user presses it after a minute of virtual time without progress.
class PatientUser : public transfer::TransferProgress {
 public:
  static constexpr uint32_t kPatienceMs = 60000;

  void SetCaption(const std::string&) override {}
  void ShowProgress() override { lastProgress_ = midi::TickCount(); }
  void UpdateProgress(float, float) override { lastProgress_ = midi::TickCount(); }
  void HideProgress() override {}
  bool Cancelled() override { return midi::TickCount() - lastProgress_ > kPatienceMs; }

 private:
  uint32_t lastProgress_ = 0;
};

void CheckOccupancy(const TEps& eps) {
  for (int i = 0; i < kInstruments; ++i) {
    Require(eps.FirstFreeWs[i] >= -1 && eps.FirstFreeWs[i] < kWaveSamples, "first free wavesample");
    Require(eps.FirstFreeLayer[i] >= -1 && eps.FirstFreeLayer[i] < kLayers, "first free layer");
    Require(eps.InstrInUse[i] || eps.InstrName[i].empty(), "a name for an unused instrument");
    for (int w = 0; w < kWaveSamples; ++w)
      Require(eps.WsLayer[i][w] >= -1 && eps.WsLayer[i][w] < kLayers, "layer of a wavesample");
  }
}

void CheckTarget(const TEps& eps, const SessionPlan& plan) {
  Require(eps.Instrument == plan.instrument && eps.Layer == plan.layer &&
              eps.WaveSample == plan.waveSample,
          "the session's target changed");
}

void ProcessUntilQuiet(TEps& eps) {
  for (int n = 0; n < kMaxProcessCalls; ++n) {
    const int result = eps.ProcessInput();
    if (result == prNothing || result == prNothingAfterWait) return;
  }
}

void RunStates(TEps& eps, const SessionPlan& plan) {
  if (plan.op == SessionOp::DownloadState) {
    eps.DownloadState = plan.value1 % (dsReadData + 1);
    // The range of the previous data header, as state 6 left it for state 8.
    eps.DataStart = plan.value2 - 0x8000;
    eps.DataEnd = eps.DataStart + (plan.value1 >> 4);
  } else {
    eps.UploadState = plan.value1 % (usSetKeyRange + 1);
  }
  ProcessUntilQuiet(eps);
  CheckTarget(eps, plan);
}

void RunView(TEps& eps, const SessionPlan& plan) {
  if (eps.OpenWs(true) != 1 || !eps.WsOpen) return;
  eps.SetViewStart(plan.value1 * 64);
  eps.SetViewEnd(plan.value2 * 64);
  eps.RefreshOverview();
  Require(eps.ViewStep >= 1, "a view step below 1");
  eps.CloseWs();
  Require(!eps.WsOpen, "the wavesample stayed open");
}

void RunDownload(TEps& eps, const SessionPlan& plan, const std::string& dir) {
  PatientUser progress;
  transfer::DownloadEngine download(eps, progress);
  if (!download.Begin() || eps.OpenWs(false) == 0) return;
  eps.BlockSize = plan.value1;
  const std::string path = dir + "/download.wav";
  std::filesystem::remove(path);
  const transfer::TransferResult result = download.Download(path);
  Require(eps.DownloadState == dsIdle, "the download left its state behind");
  if (result.outcome == transfer::TransferOutcome::Refused) {
    Require(!std::filesystem::exists(path), "a refused download left a file");
    return;
  }
  if (std::filesystem::exists(path)) CheckDownloadedFile(path, result.samples);
  std::filesystem::remove(path);
}

void RunUpload(TEps& eps, const SessionPlan& plan, const std::string& dir) {
  PatientUser progress;
  transfer::UploadEngine upload(eps, progress);
  if (!upload.Begin()) return;
  eps.ReadConfig();
  const std::string path = dir + "/upload.wav";
  const int frames = plan.value1 % 3000 + 1;
  WriteTestWav(path, plan.flags & 1 ? 2 : 1, plan.flags & 2 ? 8 : 16, frames);
  transfer::TRiffFile file;
  file.SetFileName(path);
  Require(file.ReadHeader(), "the generated file does not read");
  transfer::UploadChoices choices;
  choices.instrument = plan.instrument;
  choices.layer = plan.layer;
  choices.waveSample = plan.waveSample;
  choices.rootKey = plan.value2 % 128;
  choices.range = static_cast<transfer::KeyRangeMode>(((plan.flags >> 2) & 3) % 3);
  choices.channelMode = ((plan.flags >> 4) & 3) % 3 + 1;
  eps.BlockSize = plan.value2;
  const transfer::TransferResult result = upload.Upload(choices, file);
  Require(eps.UploadState == usIdle, "the upload left its state behind");
  Require(!file.IsOpen, "the upload left its file open");
  Require(result.samples >= 0 && result.samples <= frames, "more samples acknowledged than sent");
  Require(result.outcome != transfer::TransferOutcome::Done || result.samples == frames,
          "a finished upload that did not send everything");
}

void Run(TEps& eps, const SessionPlan& plan, const std::string& dir) {
  switch (plan.op) {
    case SessionOp::OpenDevices:
      eps.OpenDevices();
      break;
    case SessionOp::ReadConfig:
      eps.ReadConfig();
      CheckTarget(eps, plan);
      break;
    case SessionOp::OpenWsForCopy:
      eps.OpenWs(false);
      Require(!eps.WsOpen, "open for a copy");
      break;
    case SessionOp::OpenWsAndView:
      RunView(eps, plan);
      break;
    case SessionOp::DownloadState:
    case SessionOp::UploadState:
      RunStates(eps, plan);
      break;
    case SessionOp::Download:
      RunDownload(eps, plan, dir);
      break;
    case SessionOp::Upload:
      RunUpload(eps, plan, dir);
      break;
    case SessionOp::Count:
      break;
  }
  CheckOccupancy(eps);
}

}  // namespace

SessionPlan SessionPlan::FromBytes(const uint8_t* data) {
  SessionPlan plan;
  plan.op = static_cast<SessionOp>(data[0] % static_cast<uint8_t>(SessionOp::Count));
  plan.instrument = data[1] % kInstruments;
  plan.layer = data[2] % kLayers;
  plan.waveSample = data[3] % kWaveSamples + 1;
  plan.value1 = data[4] | data[5] << 8;
  plan.value2 = data[6] | data[7] << 8;
  plan.flags = data[1] >> 3 | data[2] >> 3 << 5;
  return plan;
}

std::vector<uint8_t> SessionPlan::ToBytes() const {
  return {static_cast<uint8_t>(op),
          static_cast<uint8_t>(instrument | (flags & 0x1F) << 3),
          static_cast<uint8_t>(layer | (flags >> 5) << 3),
          static_cast<uint8_t>(waveSample - 1),
          static_cast<uint8_t>(value1 & 0xFF),
          static_cast<uint8_t>(value1 >> 8),
          static_cast<uint8_t>(value2 & 0xFF),
          static_cast<uint8_t>(value2 >> 8)};
}

void RunSession(const SessionPlan& plan, ReplyScript& script, ScriptCable& cable,
                const std::string& scratchDir) {
  FuzzClock clock;
  testing::ScopedClock useClock(clock);
  testing::ScopedDriver useCable(cable);
  cable.AttachPeer(&script);
  {
    testing::SessionRecordingUi ui;
    TEps eps(ui);
    eps.MidiIn->SetDeviceID(0);
    eps.MidiOut->SetDeviceID(0);
    eps.MidiOut->SetChannel(1);
    eps.Instrument = plan.instrument;
    eps.Layer = plan.layer;
    eps.WaveSample = plan.waveSample;
    eps.MidiIn->Open();
    eps.MidiOut->Open();
    script.Start();
    Run(eps, plan, scratchDir);
    Require(ui.beginWaits == ui.endWaits, "a wait cursor left on");
  }
  cable.AttachPeer(nullptr);
}

}  // namespace kelvora::fuzz
