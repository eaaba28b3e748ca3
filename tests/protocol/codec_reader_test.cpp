#include <gtest/gtest.h>

#include "protocol/Sysex.h"

namespace kelvora::protocol {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(MessageReader, ReadsBackWhatTheWriterSent) {
  VectorSink sink;
  SendWsDataHeader(sink, 12, Target{7, 6, 127}, 100000, 8388607);
  SpanSource source(sink.bytes);
  MessageReader reader(source, 12);
  uint8_t type = 0;
  int layer = 0, start = 0, end = 0;
  ASSERT_TRUE(reader.Header());
  ASSERT_TRUE(reader.Byte(type));
  EXPECT_EQ(type, kPutWsData);
  EXPECT_TRUE(reader.ExpectWord12(7));
  EXPECT_TRUE(reader.Word12(layer));
  EXPECT_TRUE(reader.ExpectWord12(127));
  EXPECT_TRUE(reader.Word24(start));
  EXPECT_TRUE(reader.Word24(end));
  EXPECT_TRUE(reader.End());
  EXPECT_EQ(layer, 6);
  EXPECT_EQ(start, 100000);
  EXPECT_EQ(end, 8388607);
  EXPECT_EQ(source.Consumed(), sink.bytes.size());
}

TEST(MessageReader, RefusesAnotherChannelAndWrongBytes) {
  const Bytes ack = {0xF0, 0x0F, 0x03, 0x01, 0x01, 0x00, 0x00, 0xF7};  // channel 2
  SpanSource other(ack);
  EXPECT_FALSE(MessageReader(other, 1).Header());
  EXPECT_EQ(other.Consumed(), 4u);  // the byte that differs is consumed
  SpanSource same(ack);
  EXPECT_TRUE(MessageReader(same, 2).Header());

  const Bytes roland = {0xF0, 0x41, 0x03, 0x00};
  SpanSource foreign(roland);
  EXPECT_FALSE(MessageReader(foreign, 1).Header());
  EXPECT_EQ(foreign.Consumed(), 2u);

  const Bytes word = {0x00, 0x06};
  SpanSource expected(word);
  EXPECT_FALSE(MessageReader(expected, 1).ExpectWord12(5));
}

TEST(MessageReader, AcceptTakesOnlyTheByteExpected) {
  const Bytes bytes = {0x00, 0xF0, 0x0F};
  SpanSource source(bytes);
  MessageReader reader(source, 1);
  uint8_t data = 0;
  EXPECT_FALSE(reader.Accept(0x01));
  EXPECT_TRUE(reader.Accept(0x00));
  EXPECT_FALSE(reader.AcceptData(data));  // F0 is a status byte
  EXPECT_FALSE(reader.Accept(kSysexEnd));
  EXPECT_EQ(source.Consumed(), 1u);
  EXPECT_TRUE(reader.Accept(kSysexStart));
  EXPECT_TRUE(reader.AcceptData(data));
  EXPECT_EQ(data, 0x0F);
  EXPECT_FALSE(reader.Accept(0x0F));  // nothing left
  EXPECT_EQ(source.Consumed(), 3u);
}

TEST(MessageReader, CutShortInputFails) {
  const Bytes partialHeader = {0xF0, 0x0F};
  SpanSource header(partialHeader);
  EXPECT_FALSE(MessageReader(header, 1).Header());

  const Bytes twoBytes = {0x01, 0x02};
  int value = -1;
  SpanSource w16(twoBytes);
  EXPECT_FALSE(MessageReader(w16, 1).Word16(value));
  SpanSource w24(twoBytes);
  EXPECT_FALSE(MessageReader(w24, 1).Word24(value));
  SpanSource empty(nullptr, 0);
  EXPECT_FALSE(MessageReader(empty, 1).End());
}

// A data message that ends before its last word must not turn F7 and the next header into data.
TEST(MessageReader, StatusByteInsideAWordFails) {
  VectorSink sink;
  const int words[] = {0x1234, 0x0FFF};
  SendDataMessage(sink, 1, words, 1);  // the sender stopped one word early
  SendAcknowledge(sink, 1);
  SpanSource source(sink.bytes);
  MessageReader reader(source, 1);
  int value = 0;
  ASSERT_TRUE(reader.Header());
  ASSERT_TRUE(reader.Word16(value));
  EXPECT_EQ(value, 0x1234);
  EXPECT_FALSE(reader.Word16(value));
}

}  // namespace
}  // namespace kelvora::protocol
