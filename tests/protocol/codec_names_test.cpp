#include <gtest/gtest.h>

#include <array>

#include "protocol/NameCodec.h"

namespace kelvora::protocol {
namespace {

using Words = std::array<int, 12>;

Words FromText(const char (&text)[13]) {
  Words w;
  for (int i = 0; i < 12; ++i) w[i] = static_cast<unsigned char>(text[i]) << 8;
  return w;
}

std::string Stored(const Words& w) {
  std::string s;
  for (int word : w) s += static_cast<char>(word >> 8);
  return s;
}

Words Encoded(const std::string& text) {
  Words w;
  w.fill(-1);
  EncodeName(w.data(), text);
  return w;
}

TEST(DecodeName, CapitalisesEveryWord) {
  EXPECT_EQ(DecodeName(FromText("PIANO 1 LOW ").data()), "Piano 1 Low");
  EXPECT_EQ(DecodeName(FromText("2ND-VIOLIN  ").data()), "2Nd-Violin");
  EXPECT_EQ(DecodeName(FromText("            ").data()), "");
  EXPECT_EQ(DecodeName(FromText("bIG*bRASS+x ").data()), "Big*Brass+X");
}

TEST(DecodeName, OnlyTheHighByteAndTrailingBlanks) {
  Words w = FromText("STRINGS     ");
  w[0] |= 0x7F;   // low bytes are not characters
  w[8] = 0x0100;  // a control code at the end is dropped
  EXPECT_EQ(DecodeName(w.data()), "Strings");
  w[11] = 0xE900;  // a code above 127 is a character, not a blank
  EXPECT_EQ(DecodeName(w.data()).size(), 12u);
}

TEST(EncodeName, UpperCaseCutAndPadded) {
  EXPECT_EQ(Stored(Encoded("Bass.drum")), "BASS DRUM   ");
  EXPECT_EQ(Stored(Encoded("a_very_long_name")), "A VERY LONG ");
  EXPECT_EQ(Stored(Encoded("")), "            ");
  EXPECT_EQ(Stored(Encoded("pad*-+09")), "PAD*-+09    ");
  EXPECT_EQ(Stored(Encoded(std::string("a\0b\xE9/c", 6))), "A B  C      ");
  for (int word : Encoded("Bass")) EXPECT_EQ(word & 0xFF, 0);
}

TEST(EncodeName, DecodeGivesTheNameBack) {
  const Words w = Encoded("Kick Drum 2");
  EXPECT_EQ(DecodeName(w.data()), "Kick Drum 2");
}

}  // namespace
}  // namespace kelvora::protocol
