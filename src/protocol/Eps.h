#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/EpsPortSink.h"
#include "protocol/EpsPortSource.h"
#include "protocol/Occupancy.h"
#include "protocol/ProcessResult.h"
#include "protocol/Records.h"
#include "protocol/SamplerKind.h"
#include "protocol/SessionUi.h"
#include "protocol/Sysex.h"
#include "protocol/TransferStates.h"
#include "protocol/WsRecordCache.h"

namespace kelvora::protocol {

constexpr int kWsParamWords = kWsRecordWords;
constexpr int kInstrParamWords = kInstrRecordWords;
constexpr int kLayerParamWords = kLayerRecordWords;
constexpr int kOverviewPoints = 512;
constexpr int kSampleBufferWords = 10240;

// The sampler restarts its own timer at 30 s after each WAIT; WaitResult gives up when no message
// has arrived for as long.
constexpr uint32_t kSilenceLimitMs = 30000;

// The one sampler session: owns the two MIDI ports, reads every message the sampler sends and
// carries out every operation the windows ask for. The occupancy tables (InstrInUse, InstrName,
// LayerInUse, WsInUse, WsLayer, FirstFreeWs, FirstFreeLayer) are inherited as members.
// Every record and buffer is a fixed array inside the object: nothing is allocated per operation.
class TEps : public QObject, public Occupancy {
  Q_OBJECT

 public:
  explicit TEps(SessionUi& ui, QObject* owner = nullptr);
  ~TEps() override;

  // Current target: instrument 0..7, layer 0..7, wavesample 1..127.
  int Instrument = 0;
  int WaveSample = 1;
  int Layer = 0;

  bool WsOpen = false;
  int WsParams[kWsParamWords];
  int WsLast = 0;
  int InstrParams[kInstrParamWords];
  int LayerParams[kLayerParamWords];

  // The view window of the open wavesample and the points it shows.
  int Overview[kOverviewPoints];
  int FullOverview[kOverviewPoints];
  bool OverviewStale = true;
  int ViewStart = 0;
  int ViewEnd = 0;
  int ViewStep = 1;
  bool Zoomed = false;

  // Transfer states (TDownloadState / TUploadState values), driven by the transfer engines.
  int UploadState = usIdle;
  int DownloadState = dsIdle;
  int SampleBuffer[kSampleBufferWords];
  // Range of the last WsDataHeader read in download state 6.
  int DataStart = 0;
  int DataEnd = 0;

  std::unique_ptr<midi::TMidiIn> MidiIn;
  std::unique_ptr<midi::TMidiOut> MidiOut;

  int BlockSize = 256;  // samples per transfer block, 256..10240
  int Delay = 0;        // ms before each upload block, 0..4000

  // Session operations.
  bool OpenDevices();
  bool ReadConfig();
  int OpenWs(bool forEdit);  // 0 failed, 1 opened, 2 is a parameters-only copy
  void CloseWs();
  bool RefreshOverview();
  void ComputeViewStep();
  void SetViewStart(int position);
  void SetViewEnd(int position);
  void SaveFullOverview();
  void RestoreFullOverview();
  int WriteWsParams();  // 1 done, 2 failed
  bool RenameInstrument(int instrument, const std::string& name);
  int DeleteInstrument(int instrument);
  int DeleteLayer(int instrument, int layer);
  void DeleteWaveSample(int instrument, int waveSample);
  void ClearData(int start, int end);
  void FadeIn(int start, int end, int value);
  void FadeOut(int start, int end, int value);
  void NormalizeGain();
  void ReverseData(int start, int end);
  void ScaleData(int start, int end, int level1, int level2, int depth);
  void CopyData(int sourceStart, int sourceEnd, int destination);
  void PutParameter(int number, unsigned value);
  // Samples [start, end) of the current wavesample, signed, into words with one GetWsData; at
  // most kSampleBufferWords of them. False when they did not come whole, or not for that range.
  bool ReadWsData(int start, int end, int* words);
  int WaitResult();
  void SelectInstrument();
  void StartAudition();
  void StopAudition();
  void WaitOneSecond();
  void ResetWsParams();

  // Response processing.
  int ProcessInput();
  void SendAck();
  bool ReadHeader();
  bool ReadWord12(int& value);
  bool ExpectWord12(int expected);
  bool ReadWord16(int& value);
  bool ReadWord24(int& value);
  void MidiShortData(midi::TMidiIn& sender);

  // Message senders for the transfer drivers, on the current target and channel.
  void SendHeader();
  void SendWord12(int value);
  void SendWord16(int value);
  void SendWord24(int value);
  void SendGetWsData(int start, int end);
  void SendPutWsData(int start, int end);
  void SendPutWsParams();
  void SendCreateInstrument();
  void SendCreateLayer();
  void SendCreateWaveSample();
  // A data message of count words from words (record or SampleBuffer).
  void SendDataMessage(const int* words, int count);

  // The model, from the ID word of the latest instrument record read; Unknown before the first.
  SamplerKind Kind() const { return kind_; }
  // Reads the instrument's record into InstrParams (which also tells Kind); false when the
  // sampler does not send it.
  bool FetchInstrumentParams(int instrument);

  Target CurrentTarget() const { return Target{Instrument, Layer, WaveSample}; }
  int Channel() const;  // the output port's MIDI channel, 1..16
  SessionUi& Ui() { return ui_; }
  // Wavesample records as last read; the session forgets those its commands may change.
  WsRecordCache& WsRecords() { return records_; }
  // The status code of the last response message read (0 ACK, 12 memory full, ...); -1 before
  // the first.
  int LastResponseCode() const { return lastResponseCode_; }

 private:
  // One message after its header: the result, or kReadNext after a WAIT response.
  static constexpr int kReadNext = 0;
  int DispatchMessage(MessageReader& reader);
  int ReadResponse(MessageReader& reader);
  int ResultOfCode(int code);
  int ReadOverviewHeader(MessageReader& reader);
  int ReadWsDataHeader(MessageReader& reader);
  int ReadDownloadHeader(MessageReader& reader);
  // What a header's target must match besides the instrument.
  static constexpr int kCompareLayer = 1;
  static constexpr int kCompareWaveSample = 2;
  int ReadRecordHeader(MessageReader& reader, int compare, int* record, int words, int result);
  int ReadInstrumentRecord(MessageReader& reader);
  int ReadDownloadData(MessageReader& reader);
  // The three W12 of a header's target and `extraWords` more W12 (kept in `extra` when given),
  // then F7. False when a byte is missing; `matches` tells whether the target is the current one.
  bool ReadTarget(MessageReader& reader, int compare, int* extra, int extraWords, bool& matches);
  // Whether DataEnd - DataStart words fit SampleBuffer; logs the count when they do not.
  bool BlockFits() const;
  bool ReadAcknowledgedBlock(MessageReader& reader, int* words, int count, bool signExtend,
                             bool logStop);

  bool TryOpenDevices(bool& retry);
  bool OpenPortsOrReport();
  void ReadInstrumentConfig(int instrument);
  int FetchWsParams();
  int ExtendWithSilence();
  bool FetchViewData();

  SessionUi& ui_;
  EpsPortSink output_;
  EpsPortSource input_;
  // Tick at which the last message header arrived, for the WaitResult bound.
  uint32_t lastHeard_ = 0;
  int lastResponseCode_ = -1;
  SamplerKind kind_ = SamplerKind::Unknown;
  // Where a data message outside a download goes: the view's Overview, or the words a
  // ReadWsData asked for, with the range they must come for.
  int* dataWords_ = Overview;
  int dataCount_ = kOverviewPoints;
  int dataStart_ = -1;  // -1: any range (the view's request)
  WsRecordCache records_;
};

}  // namespace kelvora::protocol
