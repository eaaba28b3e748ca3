#include "protocol/Sysex.h"

namespace kelvora::protocol {

namespace {

// The channel byte of the header. A channel outside 1..16 still gives a data byte (bit 7 clear),
// so a bad setting can never put a status byte into the middle of a message.
uint8_t ChannelByte(int channel) { return static_cast<uint8_t>((channel - 1) & 0x0F); }

constexpr bool IsDataByte(uint8_t byte) { return (byte & 0x80) == 0; }

// Header and type byte of a command message.
MessageWriter Begin(ByteSink& sink, int channel, MessageType type) {
  MessageWriter writer(sink, channel);
  writer.Header();
  writer.Byte(type);
  return writer;
}

void Triple(MessageWriter& writer, int instrument, int layer, int waveSample) {
  writer.Word12(instrument);
  writer.Word12(layer);
  writer.Word12(waveSample);
}

void Triple(MessageWriter& writer, const Target& t) {
  Triple(writer, t.instrument, t.layer, t.waveSample);
}

// A command that carries only three W12 words.
void SendTriple(ByteSink& sink, int channel, MessageType type, int first, int second, int third) {
  MessageWriter writer = Begin(sink, channel, type);
  Triple(writer, first, second, third);
  writer.End();
}

// A command that carries the target and a [start, end) range.
void SendRange(ByteSink& sink, int channel, MessageType type, const Target& t, int start, int end) {
  MessageWriter writer = Begin(sink, channel, type);
  Triple(writer, t);
  writer.Word24(start);
  writer.Word24(end);
  writer.End();
}

// The two bytes after a fade's range go out unencoded; bit 7 is dropped so that the value can
// never end the message early as a status byte would.
void SendFade(ByteSink& sink, int channel, MessageType type, const Target& t, int start, int end,
              uint8_t value) {
  MessageWriter writer = Begin(sink, channel, type);
  Triple(writer, t);
  writer.Word24(start);
  writer.Word24(end);
  writer.Byte(0x00);
  writer.Byte(value & 0x7F);
  writer.End();
}

}  // namespace

void EncodeW12(uint8_t* out, int value) {
  out[0] = static_cast<uint8_t>((value >> 6) & 0x3F);
  out[1] = static_cast<uint8_t>(value & 0x3F);
}

// Bits 17..12 go into the first byte, so a negative value keeps its sign bits there (-127 is
// 3F 3E 01); a receiver that keeps 16 bits gets the two's complement back.
void EncodeW16(uint8_t* out, int value) {
  out[0] = static_cast<uint8_t>((value >> 12) & 0x3F);
  out[1] = static_cast<uint8_t>((value >> 6) & 0x3F);
  out[2] = static_cast<uint8_t>(value & 0x3F);
}

void EncodeW24(uint8_t* out, int value) {
  EncodeW12(out, (value >> 12) & 0xFFF);
  EncodeW12(out + 2, value & 0xFFF);
}

int DecodeW12(const uint8_t* in) { return (in[0] << 6) | in[1]; }

int DecodeW16(const uint8_t* in) { return (in[0] << 12) | (in[1] << 6) | in[2]; }

int DecodeW24(const uint8_t* in) { return (DecodeW12(in) << 12) | DecodeW12(in + 2); }

void MessageWriter::Header() {
  sink_.Put(kSysexStart);
  sink_.Put(kEnsoniqId);
  sink_.Put(kEpsFamily);
  sink_.Put(ChannelByte(channel_));
}

void MessageWriter::Word12(int value) {
  uint8_t bytes[2];
  EncodeW12(bytes, value);
  for (uint8_t byte : bytes) sink_.Put(byte);
}

void MessageWriter::Word16(int value) {
  uint8_t bytes[3];
  EncodeW16(bytes, value);
  for (uint8_t byte : bytes) sink_.Put(byte);
}

void MessageWriter::Word24(int value) {
  uint8_t bytes[4];
  EncodeW24(bytes, value);
  for (uint8_t byte : bytes) sink_.Put(byte);
}

bool SpanSource::Get(uint8_t& byte) {
  if (next_ >= size_) return false;
  byte = data_[next_++];
  return true;
}

bool SpanSource::Peek(uint8_t& byte) {
  if (next_ >= size_) return false;
  byte = data_[next_];
  return true;
}

bool MessageReader::Header() {
  return Expect(kSysexStart) && Expect(kEnsoniqId) && Expect(kEpsFamily) &&
         Expect(ChannelByte(channel_));
}

bool MessageReader::Expect(uint8_t expected) {
  uint8_t byte = 0;
  return source_.Get(byte) && byte == expected;
}

bool MessageReader::Accept(uint8_t expected) {
  uint8_t byte = 0;
  return source_.Peek(byte) && byte == expected && source_.Get(byte);
}

bool MessageReader::AcceptData(uint8_t& byte) {
  return source_.Peek(byte) && IsDataByte(byte) && source_.Get(byte);
}

bool MessageReader::DataBytes(uint8_t* out, int count) {
  for (int i = 0; i < count; ++i) {
    if (!source_.Get(out[i]) || !IsDataByte(out[i])) return false;
  }
  return true;
}

bool MessageReader::Word12(int& value) {
  uint8_t bytes[2];
  if (!DataBytes(bytes, 2)) return false;
  value = DecodeW12(bytes);
  return true;
}

bool MessageReader::ExpectWord12(int expected) {
  int value = 0;
  return Word12(value) && value == expected;
}

bool MessageReader::Word16(int& value) {
  uint8_t bytes[3];
  if (!DataBytes(bytes, 3)) return false;
  value = DecodeW16(bytes);
  return true;
}

bool MessageReader::Word24(int& value) {
  uint8_t bytes[4];
  if (!DataBytes(bytes, 4)) return false;
  value = DecodeW24(bytes);
  return true;
}

void SendResponse(ByteSink& sink, int channel, int status) {
  MessageWriter writer = Begin(sink, channel, kResponse);
  writer.Word12(status);
  writer.End();
}

void SendAcknowledge(ByteSink& sink, int channel) { SendResponse(sink, channel, 0); }

void SendGetInstrumentParams(ByteSink& sink, int channel, int instrument) {
  SendTriple(sink, channel, kGetInstrumentParams, instrument, 0, 0);
}

void SendGetLayerParams(ByteSink& sink, int channel, int instrument, int layer) {
  SendTriple(sink, channel, kGetLayerParams, instrument, layer, 0);
}

void SendGetWsParams(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kGetWsParams, t.instrument, t.layer, t.waveSample);
}

void SendGetWsData(ByteSink& sink, int channel, const Target& t, int start, int end) {
  SendRange(sink, channel, kGetWsData, t, start, end);
}

void SendGetOverview(ByteSink& sink, int channel, const Target& t, int start, int end) {
  SendRange(sink, channel, kGetOverview, t, start, end);
}

void SendPutInstrumentParams(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kPutInstrumentParams, t.instrument, t.layer, t.waveSample);
}

void SendPutWsParams(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kPutWsParams, t.instrument, t.layer, t.waveSample);
}

void SendPutWsData(ByteSink& sink, int channel, const Target& t, int start, int end) {
  SendRange(sink, channel, kPutWsData, t, start, end);
}

// The value is a 24-bit number sent as two W12 words, high half first.
void SendPutParameter(ByteSink& sink, int channel, const Target& t, int number, unsigned value) {
  MessageWriter writer = Begin(sink, channel, kPutParameter);
  Triple(writer, t);
  writer.Word12(number);
  writer.Word12(static_cast<int>((value >> 12) & 0xFFF));
  writer.Word12(static_cast<int>(value & 0xFFF));
  writer.End();
}

void SendCreateInstrument(ByteSink& sink, int channel, int instrument) {
  SendTriple(sink, channel, kCreateInstrument, instrument, 0, 1);
}

void SendCreateLayer(ByteSink& sink, int channel, int instrument) {
  SendTriple(sink, channel, kCreateLayer, instrument, 0, 1);
}

void SendDeleteLayer(ByteSink& sink, int channel, int instrument, int layer) {
  SendTriple(sink, channel, kDeleteLayer, instrument, layer, 1);
}

void SendCreateWaveSample(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kCreateWaveSample, t.instrument, t.layer, t.waveSample);
}

void SendDeleteWaveSample(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kDeleteWaveSample, t.instrument, t.layer, t.waveSample);
}

void SendDeleteInstrument(ByteSink& sink, int channel, int instrument) {
  SendTriple(sink, channel, kDeleteInstrument, instrument, 0, 1);
}

void SendEndEdit(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kEndEdit, t.instrument, t.layer, t.waveSample);
}

void SendClearData(ByteSink& sink, int channel, const Target& t, int start, int end) {
  SendRange(sink, channel, kClearData, t, start, end);
}

void SendCopyData(ByteSink& sink, int channel, const Target& source, const Target& destination,
                  int sourceStart, int sourceEnd, int destinationPosition) {
  MessageWriter writer = Begin(sink, channel, kCopyData);
  Triple(writer, source);
  Triple(writer, destination);
  writer.Word24(sourceStart);
  writer.Word24(sourceEnd);
  writer.Word24(destinationPosition);
  writer.End();
}

void SendScaleData(ByteSink& sink, int channel, const Target& t, int start, int end, int level1,
                   int level2, int depth) {
  MessageWriter writer = Begin(sink, channel, kScaleData);
  Triple(writer, t);
  writer.Word24(start);
  writer.Word24(end);
  writer.Word24(level1);
  writer.Word24(level2);
  writer.Word12(depth);
  writer.End();
}

void SendReverseData(ByteSink& sink, int channel, const Target& t, int start, int end) {
  SendRange(sink, channel, kReverseData, t, start, end);
}

void SendFadeIn(ByteSink& sink, int channel, const Target& t, int start, int end, uint8_t value) {
  SendFade(sink, channel, kFadeIn, t, start, end, value);
}

void SendFadeOut(ByteSink& sink, int channel, const Target& t, int start, int end, uint8_t value) {
  SendFade(sink, channel, kFadeOut, t, start, end, value);
}

void SendProbe(ByteSink& sink, int channel, int value) {
  MessageWriter writer = Begin(sink, channel, kProbe);
  writer.Word12(value);
  writer.End();
}

void SendNormalizeGain(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kNormalizeGain, t.instrument, t.layer, t.waveSample);
}

void SendDataMessage(ByteSink& sink, int channel, const int* words, size_t count) {
  MessageWriter writer(sink, channel);
  writer.Header();
  for (size_t i = 0; i < count; ++i) writer.Word16(words[i]);
  writer.End();
}

void SendInstrumentParamsHeader(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kPutInstrumentParams, t.instrument, t.layer, t.waveSample);
}

void SendLayerParamsHeader(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kPutLayerParams, t.instrument, t.layer, t.waveSample);
}

void SendWsParamsHeader(ByteSink& sink, int channel, const Target& t) {
  SendTriple(sink, channel, kPutWsParams, t.instrument, t.layer, t.waveSample);
}

void SendWsDataHeader(ByteSink& sink, int channel, const Target& t, int start, int end) {
  SendRange(sink, channel, kPutWsData, t, start, end);
}

void SendOverviewHeader(ByteSink& sink, int channel, const Target& t, int start, int end) {
  SendRange(sink, channel, kOverviewHeader, t, start, end);
}

}  // namespace kelvora::protocol
