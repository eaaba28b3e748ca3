#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The EPS/ASR System Exclusive codec: word encodings and every message either side sends, as
// pure functions that write bytes into a sink. Nothing here knows about MIDI drivers.
namespace kelvora::protocol {

// Message type bytes.
enum MessageType : uint8_t {
  kResponse = 0x01,
  kGetInstrumentParams = 0x03,
  kGetLayerParams = 0x04,
  kGetWsParams = 0x05,
  kGetWsData = 0x06,
  kGetOverview = 0x0A,
  kPutInstrumentParams = 0x0C,  // also the sampler's InstrumentParamsHeader
  kPutLayerParams = 0x0D,       // the sampler's LayerParamsHeader
  kPutWsParams = 0x0E,          // also the sampler's WsParamsHeader
  kPutWsData = 0x0F,            // also the sampler's WsDataHeader
  kPutParameter = 0x11,
  kOverviewHeader = 0x13,
  kCreateInstrument = 0x15,
  kCreateLayer = 0x16,
  kDeleteLayer = 0x17,
  kCreateWaveSample = 0x19,
  kDeleteWaveSample = 0x1A,
  kDeleteInstrument = 0x1C,
  kEndEdit = 0x1E,
  kClearData = 0x1F,
  kCopyData = 0x20,
  kScaleData = 0x22,
  kReverseData = 0x24,
  kFadeIn = 0x27,
  kFadeOut = 0x28,
  kProbe = 0x40,
  kNormalizeGain = 0x41,
};

constexpr uint8_t kSysexStart = 0xF0;
constexpr uint8_t kSysexEnd = 0xF7;
constexpr uint8_t kEnsoniqId = 0x0F;
constexpr uint8_t kEpsFamily = 0x03;
constexpr int kProbeButton = 35;

// Size in bytes of a data message of n words.
constexpr size_t DataMessageSize(size_t words) { return 5 + 3 * words; }

// Word encodings. The encoders write 2, 3 or 4 bytes at out; the decoders apply no mask.
void EncodeW12(uint8_t* out, int value);
void EncodeW16(uint8_t* out, int value);
void EncodeW24(uint8_t* out, int value);
int DecodeW12(const uint8_t* in);
int DecodeW16(const uint8_t* in);
int DecodeW24(const uint8_t* in);

// Where encoded bytes go: the output port, a buffer, a recorder in tests.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Put(uint8_t byte) = 0;
};

// A sink that appends to a vector (tests, the simulator).
class VectorSink : public ByteSink {
 public:
  void Put(uint8_t byte) override { bytes.push_back(byte); }
  std::vector<uint8_t> bytes;
};

// Writes the parts of a message; channel is the MIDI channel 1..16.
class MessageWriter {
 public:
  MessageWriter(ByteSink& sink, int channel) : sink_(sink), channel_(channel) {}
  void Header();  // F0 0F 03 (channel - 1)
  void Byte(uint8_t byte) { sink_.Put(byte); }
  void Word12(int value);
  void Word16(int value);
  void Word24(int value);
  void End() { sink_.Put(kSysexEnd); }

 private:
  ByteSink& sink_;
  int channel_;
};

// Where a parser takes bytes from: the input port's ring, a buffer in tests and the simulator.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next byte; false when none comes (end of the data, a timeout).
  virtual bool Get(uint8_t& byte) = 0;
  // The next byte, left in the source for the next Get; waits as Get does.
  virtual bool Peek(uint8_t& byte) = 0;
};

// A source over bytes already received.
class SpanSource : public ByteSource {
 public:
  SpanSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit SpanSource(const std::vector<uint8_t>& bytes) : SpanSource(bytes.data(), bytes.size()) {}
  bool Get(uint8_t& byte) override;
  bool Peek(uint8_t& byte) override;
  size_t Consumed() const { return next_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t next_ = 0;
};

// Reads the parts of a message; channel is the MIDI channel 1..16. Every step returns false when
// a byte is missing or differs from the one expected. A byte that differs is consumed and nothing
// resynchronises on the next F0. Word bytes with bit 7 set (a status byte such as a premature F7)
// fail the read instead of being decoded, so a cut-short message never passes as data.
class MessageReader {
 public:
  MessageReader(ByteSource& source, int channel) : source_(source), channel_(channel) {}
  bool Header();  // F0 0F 03 (channel - 1)
  bool Byte(uint8_t& byte) { return source_.Get(byte); }
  bool Expect(uint8_t expected);
  bool Word12(int& value);
  bool ExpectWord12(int expected);
  bool Word16(int& value);
  bool Word24(int& value);
  bool End() { return Expect(kSysexEnd); }
  // Take the next byte only when it is `expected` (or, for AcceptData, a data byte): any other
  // byte stays in the source, so a message cut short does not swallow the start of the next.
  bool Accept(uint8_t expected);
  bool AcceptData(uint8_t& byte);

 private:
  bool DataBytes(uint8_t* out, int count);

  ByteSource& source_;
  int channel_;
};

// Instrument index 0..7, layer index 0..7, wavesample number 1..127.
struct Target {
  int instrument = 0;
  int layer = 0;
  int waveSample = 1;
};

// Messages the program sends (each writes the complete message, F0 .. F7).
void SendResponse(ByteSink& sink, int channel, int status);  // 01, status as a W12
void SendAcknowledge(ByteSink& sink, int channel);           // F0 0F 03 ch 01 00 00 F7
void SendGetInstrumentParams(ByteSink& sink, int channel, int instrument);
void SendGetLayerParams(ByteSink& sink, int channel, int instrument, int layer);
void SendGetWsParams(ByteSink& sink, int channel, const Target& t);
void SendGetWsData(ByteSink& sink, int channel, const Target& t, int start, int end);
void SendGetOverview(ByteSink& sink, int channel, const Target& t, int start, int end);
void SendPutInstrumentParams(ByteSink& sink, int channel, const Target& t);
void SendPutWsParams(ByteSink& sink, int channel, const Target& t);
void SendPutWsData(ByteSink& sink, int channel, const Target& t, int start, int end);
void SendPutParameter(ByteSink& sink, int channel, const Target& t, int number, unsigned value);
void SendCreateInstrument(ByteSink& sink, int channel, int instrument);
void SendCreateLayer(ByteSink& sink, int channel, int instrument);
void SendDeleteLayer(ByteSink& sink, int channel, int instrument, int layer);
void SendCreateWaveSample(ByteSink& sink, int channel, const Target& t);
void SendDeleteWaveSample(ByteSink& sink, int channel, const Target& t);
void SendDeleteInstrument(ByteSink& sink, int channel, int instrument);
void SendEndEdit(ByteSink& sink, int channel, const Target& t);
void SendClearData(ByteSink& sink, int channel, const Target& t, int start, int end);
void SendCopyData(ByteSink& sink, int channel, const Target& source, const Target& destination,
                  int sourceStart, int sourceEnd, int destinationPosition);
void SendScaleData(ByteSink& sink, int channel, const Target& t, int start, int end, int level1,
                   int level2, int depth);
void SendReverseData(ByteSink& sink, int channel, const Target& t, int start, int end);
void SendFadeIn(ByteSink& sink, int channel, const Target& t, int start, int end, uint8_t value);
void SendFadeOut(ByteSink& sink, int channel, const Target& t, int start, int end, uint8_t value);
void SendProbe(ByteSink& sink, int channel, int value = kProbeButton);
void SendNormalizeGain(ByteSink& sink, int channel, const Target& t);
// A data message: header, the words as W16, F7.
void SendDataMessage(ByteSink& sink, int channel, const int* words, size_t count);

// Header messages the sampler sends before a data message.
void SendInstrumentParamsHeader(ByteSink& sink, int channel, const Target& t);
void SendLayerParamsHeader(ByteSink& sink, int channel, const Target& t);
void SendWsParamsHeader(ByteSink& sink, int channel, const Target& t);
void SendWsDataHeader(ByteSink& sink, int channel, const Target& t, int start, int end);
// 13, I L W, then start and end as two W24 (four W12 words).
void SendOverviewHeader(ByteSink& sink, int channel, const Target& t, int start, int end);

}  // namespace kelvora::protocol
