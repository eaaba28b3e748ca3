#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "protocol/Sysex.h"

namespace kelvora::protocol {
namespace {

using Bytes = std::vector<uint8_t>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

Bytes Sent(const std::function<void(ByteSink&)>& send) {
  VectorSink sink;
  send(sink);
  return sink.bytes;
}

Bytes W12(int value) {
  Bytes out(2);
  EncodeW12(out.data(), value);
  return out;
}
Bytes W16(int value) {
  Bytes out(3);
  EncodeW16(out.data(), value);
  return out;
}
Bytes W24(int value) {
  Bytes out(4);
  EncodeW24(out.data(), value);
  return out;
}

const Target kTarget{2, 1, 5};  // instrument 3, layer 2, wavesample 5 for the user

TEST(WordEncodings, GoldenBytes) {
  EXPECT_THAT(W12(35), ElementsAre(0x00, 0x23));
  EXPECT_THAT(W12(4095), ElementsAre(0x3F, 0x3F));
  EXPECT_THAT(W24(100000), ElementsAre(0x00, 0x18, 0x1A, 0x20));
  EXPECT_THAT(W16(0x8000), ElementsAre(0x08, 0x00, 0x00));
  EXPECT_THAT(W16(0x7FFF), ElementsAre(0x07, 0x3F, 0x3F));
  EXPECT_THAT(W16(-127), ElementsAre(0x3F, 0x3E, 0x01));
}

TEST(WordEncodings, DecodeGivesEveryValueBack) {
  for (int v = 0; v <= 0xFFF; ++v) ASSERT_EQ(DecodeW12(W12(v).data()), v);
  for (int v = 0; v <= 0xFFFF; ++v) ASSERT_EQ(DecodeW16(W16(v).data()), v);
  for (int v : {0, 1, 0xFFF, 0x1000, 100000, 0xFFFFFF}) EXPECT_EQ(DecodeW24(W24(v).data()), v);
  // A negative sample comes back as its 16-bit two's complement.
  EXPECT_EQ(DecodeW16(W16(-127).data()) & 0xFFFF, 0xFF81);
  EXPECT_EQ(DecodeW16(W16(-32768).data()) & 0xFFFF, 0x8000);
}

TEST(Messages, HeaderCarriesTheChannel) {
  EXPECT_THAT(Sent([](ByteSink& s) { SendAcknowledge(s, 1); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x00, 0x01, 0x00, 0x00, 0xF7));
  EXPECT_THAT(Sent([](ByteSink& s) { SendAcknowledge(s, 16); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x0F, 0x01, 0x00, 0x00, 0xF7));
  EXPECT_THAT(Sent([](ByteSink& s) { SendResponse(s, 1, 20); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x00, 0x01, 0x00, 0x14, 0xF7));
  EXPECT_THAT(Sent([](ByteSink& s) { SendProbe(s, 4); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x03, 0x40, 0x00, 0x23, 0xF7));
}

TEST(Messages, PutParameterSplitsTheValue) {
  EXPECT_THAT(Sent([](ByteSink& s) { SendPutParameter(s, 3, kTarget, 2059, 60); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x02, 0x11, 0x00, 0x02, 0x00, 0x01, 0x00, 0x05, 0x20,
                          0x0B, 0x00, 0x00, 0x00, 0x3C, 0xF7));
  const Bytes big = Sent([](ByteSink& s) { SendPutParameter(s, 1, kTarget, 1, 0x123456u); });
  EXPECT_THAT(Bytes(big.begin() + 13, big.end()), ElementsAre(0x04, 0x23, 0x11, 0x16, 0xF7));
}

TEST(Messages, FixedParametersOfTheObjectCommands) {
  auto body = [](const Bytes& m) { return Bytes(m.begin() + 4, m.end()); };
  EXPECT_THAT(body(Sent([](ByteSink& s) { SendGetInstrumentParams(s, 1, 6); })),
              ElementsAre(0x03, 0, 6, 0, 0, 0, 0, 0xF7));
  EXPECT_THAT(body(Sent([](ByteSink& s) { SendGetLayerParams(s, 1, 6, 7); })),
              ElementsAre(0x04, 0, 6, 0, 7, 0, 0, 0xF7));
  EXPECT_THAT(body(Sent([](ByteSink& s) { SendCreateInstrument(s, 1, 6); })),
              ElementsAre(0x15, 0, 6, 0, 0, 0, 1, 0xF7));
  EXPECT_THAT(body(Sent([](ByteSink& s) { SendCreateLayer(s, 1, 6); })),
              ElementsAre(0x16, 0, 6, 0, 0, 0, 1, 0xF7));
  EXPECT_THAT(body(Sent([](ByteSink& s) { SendDeleteLayer(s, 1, 6, 7); })),
              ElementsAre(0x17, 0, 6, 0, 7, 0, 1, 0xF7));
  EXPECT_THAT(body(Sent([](ByteSink& s) { SendDeleteInstrument(s, 1, 6); })),
              ElementsAre(0x1C, 0, 6, 0, 0, 0, 1, 0xF7));
  EXPECT_THAT(body(Sent([](ByteSink& s) {
                SendDeleteWaveSample(s, 1, {6, 7, 127});
              })),
              ElementsAre(0x1A, 0, 6, 0, 7, 0x01, 0x3F, 0xF7));
}

TEST(Messages, RangeAndEditCommandsInOrder) {
  const Target dest{4, 3, 100};
  Bytes expected = {0xF0, 0x0F, 0x03, 0x00, 0x20, 0, 2, 0, 1, 0, 5, 0, 4, 0, 3, 0x01, 0x24};
  for (int v : {100000, 200000, 300}) {
    const Bytes w = W24(v);
    expected.insert(expected.end(), w.begin(), w.end());
  }
  expected.push_back(0xF7);
  EXPECT_EQ(Sent([&](ByteSink& s) { SendCopyData(s, 1, kTarget, dest, 100000, 200000, 300); }),
            expected);

  EXPECT_THAT(Sent([](ByteSink& s) { SendScaleData(s, 1, kTarget, 1, 2, 0x100, 0xFF7F, 6); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x00, 0x22, 0, 2, 0, 1, 0, 5, 0, 0, 0, 1, 0, 0, 0, 2, 0,
                          0, 0x04, 0x00, 0, 0x0F, 0x3D, 0x3F, 0x00, 0x06, 0xF7));
  EXPECT_THAT(Sent([](ByteSink& s) { SendOverviewHeader(s, 1, kTarget, 64, 4096); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x00, 0x13, 0, 2, 0, 1, 0, 5, 0, 0, 0x01, 0x00, 0, 1, 0,
                          0, 0xF7));
  EXPECT_THAT(Sent([](ByteSink& s) { SendFadeOut(s, 1, kTarget, 0, 64, 5); }),
              ElementsAre(0xF0, 0x0F, 0x03, 0x00, 0x28, 0, 2, 0, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0x01,
                          0x00, 0x00, 0x05, 0xF7));
}

TEST(Messages, LengthsOfEveryMessage) {
  const Target t = kTarget;
  const std::pair<size_t, std::function<void(ByteSink&)>> cases[] = {
      {8, [](ByteSink& s) { SendAcknowledge(s, 1); }},
      {8, [](ByteSink& s) { SendProbe(s, 1); }},
      {12, [](ByteSink& s) { SendGetInstrumentParams(s, 1, 0); }},
      {12, [](ByteSink& s) { SendGetLayerParams(s, 1, 0, 0); }},
      {12, [&](ByteSink& s) { SendGetWsParams(s, 1, t); }},
      {20, [&](ByteSink& s) { SendGetWsData(s, 1, t, 0, 10); }},
      {20, [&](ByteSink& s) { SendGetOverview(s, 1, t, 0, 10); }},
      {12, [&](ByteSink& s) { SendPutInstrumentParams(s, 1, t); }},
      {12, [&](ByteSink& s) { SendPutWsParams(s, 1, t); }},
      {20, [&](ByteSink& s) { SendPutWsData(s, 1, t, 0, 10); }},
      {18, [&](ByteSink& s) { SendPutParameter(s, 1, t, 2060, 108); }},
      {12, [](ByteSink& s) { SendCreateInstrument(s, 1, 0); }},
      {12, [](ByteSink& s) { SendCreateLayer(s, 1, 0); }},
      {12, [](ByteSink& s) { SendDeleteLayer(s, 1, 0, 0); }},
      {12, [&](ByteSink& s) { SendCreateWaveSample(s, 1, t); }},
      {12, [&](ByteSink& s) { SendDeleteWaveSample(s, 1, t); }},
      {12, [](ByteSink& s) { SendDeleteInstrument(s, 1, 0); }},
      {12, [&](ByteSink& s) { SendEndEdit(s, 1, t); }},
      {20, [&](ByteSink& s) { SendClearData(s, 1, t, 0, 10); }},
      {30, [&](ByteSink& s) { SendCopyData(s, 1, t, t, 0, 10, 20); }},
      {30, [&](ByteSink& s) { SendScaleData(s, 1, t, 0, 10, 1, 2, 3); }},
      {20, [&](ByteSink& s) { SendReverseData(s, 1, t, 0, 10); }},
      {22, [&](ByteSink& s) { SendFadeIn(s, 1, t, 0, 10, 0); }},
      {22, [&](ByteSink& s) { SendFadeOut(s, 1, t, 0, 10, 0); }},
      {12, [&](ByteSink& s) { SendNormalizeGain(s, 1, t); }},
      {12, [&](ByteSink& s) { SendInstrumentParamsHeader(s, 1, t); }},
      {12, [&](ByteSink& s) { SendLayerParamsHeader(s, 1, t); }},
      {12, [&](ByteSink& s) { SendWsParamsHeader(s, 1, t); }},
      {20, [&](ByteSink& s) { SendWsDataHeader(s, 1, t, 0, 10); }},
      {20, [&](ByteSink& s) { SendOverviewHeader(s, 1, t, 0, 10); }},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Bytes m = Sent(cases[i].second);
    EXPECT_EQ(m.size(), cases[i].first) << "message " << i;
    EXPECT_EQ(m.back(), kSysexEnd) << "message " << i;
  }
}

TEST(Messages, LargestDataMessage) {
  std::vector<int> words(10240);
  for (size_t i = 0; i < words.size(); ++i) words[i] = static_cast<int>(i * 7) - 32768;
  const Bytes m = Sent([&](ByteSink& s) { SendDataMessage(s, 9, words.data(), words.size()); });
  ASSERT_EQ(m.size(), 30725u);
  ASSERT_EQ(m.size(), DataMessageSize(words.size()));
  EXPECT_THAT(Bytes(m.begin(), m.begin() + 4), ElementsAre(0xF0, 0x0F, 0x03, 0x08));
  EXPECT_EQ(m.back(), 0xF7);
  for (size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(DecodeW16(&m[4 + 3 * i]) & 0xFFFF, words[i] & 0xFFFF) << "word " << i;
  }
}

// A byte with bit 7 set inside a message would end it early on the wire.
TEST(Messages, NoStatusByteInsideAnyMessage) {
  const Target wild{-1, 4096, 0x7FFFFFFF};
  const Bytes messages[] = {
      Sent([&](ByteSink& s) { SendFadeIn(s, 0, wild, -1, 1 << 30, 0xFF); }),
      Sent([&](ByteSink& s) { SendFadeOut(s, 17, wild, -1, 1 << 30, 0x80); }),
      Sent([&](ByteSink& s) { SendPutParameter(s, -3, wild, -1, 0xFFFFFFFFu); }),
      Sent([&](ByteSink& s) { SendScaleData(s, 99, wild, -1, -2, -3, -4, -5); }),
  };
  for (const Bytes& m : messages) {
    ASSERT_GE(m.size(), 5u);
    for (size_t i = 1; i + 1 < m.size(); ++i) EXPECT_LT(m[i], 0x80) << "byte " << i;
  }
}

}  // namespace
}  // namespace kelvora::protocol
