#include "cli_host.h"

#include <gtest/gtest.h>

#include "protocol/Records.h"

namespace kelvora::simcli::test {

namespace {

using namespace protocol;

constexpr int kAck = 0;
constexpr int kNoInstrument = 5;
constexpr int kNoLayer = 6;

void Acknowledge(ByteSink& sink) { SendAcknowledge(sink, 1); }

}  // namespace

Bytes Built(const Build& build) {
  VectorSink sink;
  build(sink);
  return sink.bytes;
}

int StatusOf(const Bytes& message, int channel) {
  SpanSource source(message);
  MessageReader reader(source, channel);
  int status = -1;
  const bool ok = reader.Header() && reader.Expect(kResponse) && reader.Word12(status) &&
                  reader.End() && source.Consumed() == message.size();
  return ok ? status : -1;
}

std::vector<int> DataWords(const Bytes& message, size_t count) {
  if (message.size() != DataMessageSize(count)) return {};
  SpanSource source(message);
  MessageReader reader(source, 1);
  std::vector<int> words(count);
  bool ok = reader.Header();
  for (int& word : words) ok = ok && reader.Word16(word);
  return ok && reader.End() ? words : std::vector<int>{};
}

std::vector<int> Ramp(int count, int step, int from) {
  std::vector<int> words(count);
  for (int i = 0; i < count; ++i) words[i] = (from + i * step) & 0xFFFF;
  return words;
}

std::vector<int> Host::Get(const Build& get, const Build& header, size_t words) {
  EXPECT_TRUE(Send(get));
  EXPECT_EQ(Answer(), kAck);
  EXPECT_EQ(Next(), Built(header));
  EXPECT_TRUE(Send(&Acknowledge));
  return DataWords(Next(), words);
}

std::vector<int> Host::Put(const Build& put, const std::vector<int>& words) {
  EXPECT_TRUE(Send(put));
  const int status = Answer();
  if (status != kAck) return {status};
  EXPECT_TRUE(Send([&](ByteSink& s) { SendDataMessage(s, 1, words.data(), words.size()); }));
  return {status, Answer()};
}

std::vector<int> Host::Download(const Target& t, int start, int end) {
  return Get([&](ByteSink& s) { SendGetWsData(s, 1, t, start, end); },
             [&](ByteSink& s) { SendWsDataHeader(s, 1, t, start, end); },
             static_cast<size_t>(end - start));
}

void Host::Upload(int i, const std::vector<int>& words) {
  const Target t{i, 0, 1};
  const int end = static_cast<int>(words.size());
  const Build put = [&](ByteSink& s) { SendPutWsData(s, 1, t, 0, end); };
  EXPECT_EQ(Put(put, words), std::vector<int>{kNoInstrument});
  EXPECT_TRUE(Send([&](ByteSink& s) { SendCreateInstrument(s, 1, i); }));
  EXPECT_EQ(Answer(), kAck);
  EXPECT_EQ(Put(put, words), std::vector<int>{kNoLayer});
  EXPECT_TRUE(Send([&](ByteSink& s) { SendCreateLayer(s, 1, i); }));
  EXPECT_EQ(Answer(), kAck);
  EXPECT_EQ(Put(put, words), (std::vector<int>{kAck, kAck}));
}

std::vector<int> Host::InstrumentStatuses() {
  std::vector<int> statuses;
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(Send([&](ByteSink& s) { SendGetInstrumentParams(s, 1, i); }));
    statuses.push_back(Answer());
    if (statuses.back() != kAck) continue;
    Next();  // the header
    EXPECT_TRUE(Send(&Acknowledge));
    EXPECT_EQ(Next().size(), DataMessageSize(kInstrRecordWords));
  }
  return statuses;
}

}  // namespace kelvora::simcli::test
