#include <gtest/gtest.h>

#include "rom/Transliteration.h"

namespace {

using GameText::Transliterate;
using GameText::Untransliterate;

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

TEST(Transliteration, EveryByteComesBackAloneAndInARun) {
  std::string all;
  for (int value = 0x01; value <= 0xFF; ++value) {
    const std::string text = Transliterate(Byte(value));
    std::string back, error;
    ASSERT_TRUE(Untransliterate(text, back, &error)) << value << ": " << error;
    EXPECT_EQ(back, Byte(value)) << "byte " << value << " written as " << text;
    all += Byte(value);
  }
  std::string back, error;
  ASSERT_TRUE(Untransliterate(Transliterate(all), back, &error)) << error;
  EXPECT_EQ(back, all);
}

TEST(Transliteration, WritesOnlyTheEditorsCodesBare) {
  const std::pair<int, const char*> cases[] = {
      {0x80, "A"},    {0x99, "Z"},    {0x9A, "a"},    {0xB3, "z"},    {0xB4, "0"},
      {0xBD, "9"},    {0xFF, " "},    {0xBE, "{BE}"}, {0x7F, "{7F}"}, {0xFE, "{FE}"},
      {0x41, "{41}"}, {0x20, "{20}"}, {0x7B, "{7B}"}, {0x01, "{01}"}, {0xD7, "{D7}"},
  };
  for (auto [value, text] : cases) EXPECT_EQ(Transliterate(Byte(value)), text) << value;
  EXPECT_EQ(Transliterate("\x92\xA9\xFE\xFF\xB5"), "Sp{FE} 1");
}

TEST(Transliteration, ReadsLowerCaseEscapes) {
  std::string back;
  ASSERT_TRUE(Untransliterate("A{fe}{0a}", back, nullptr));
  EXPECT_EQ(back, "\x80\xFE\x0A");
}

TEST(Transliteration, RefusesTextNoTransliterationGives) {
  const std::pair<const char*, const char*> cases[] = {
      {"{", "character 1"},        {"{F", "character 1"},    {"ab{F}", "character 3"},
      {"{FG}", "character 1"},     {"{FFF}", "character 1"}, {"}", "character 1"},
      {"a-b", "character 2: '-'"}, {"x\ty", "byte 0x09"},    {"\xC3\xA9", "byte 0xC3"},
  };
  for (auto [text, where] : cases) {
    std::string back, error;
    EXPECT_FALSE(Untransliterate(text, back, &error)) << text;
    EXPECT_NE(error.find(where), std::string::npos) << text << " -> " << error;
  }
}

TEST(Transliteration, HexBytesArePairsWithSpaces) {
  EXPECT_EQ(GameText::HexBytes("\x80\x0A\xFF"), "80 0A FF");
  EXPECT_EQ(GameText::HexBytes(""), "");
}

}  // namespace
