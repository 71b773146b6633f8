#include "common/codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace common {
namespace {

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

TEST(Codec, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    std::string utf8 = Cp1252ToUtf8(Byte(b));
    EXPECT_TRUE(IsValidUtf8(utf8)) << b;
    EXPECT_EQ(Utf8ToCp1252(utf8), Byte(b)) << b;
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += Byte(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

// The system's iconv is an independent table of the code page (it knows no character for the
// five unassigned bytes, which decode to the C1 control of the same number).
TEST(Codec, DecodesAsIconvDoes) {
  iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no WINDOWS-1252 in iconv";
  for (int b = 0; b < 256; ++b) {
    char in = static_cast<char>(b);
    char out[8];
    char* inPtr = &in;
    size_t inLeft = 1;
    char* outPtr = out;
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      EXPECT_TRUE(b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) << b;
      EXPECT_EQ(Cp1252ToUtf8(Byte(b)), std::string("\xC2") + Byte(b)) << b;
      continue;
    }
    EXPECT_EQ(Cp1252ToUtf8(Byte(b)), std::string(out, outPtr)) << b;
  }
  iconv_close(cd);
}

struct TextCase {
  const char* utf8;
  const char* cp1252;
};

class CodecPairs : public testing::TestWithParam<TextCase> {};

TEST_P(CodecPairs, EncodeAndDecode) {
  EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
  EXPECT_EQ(Cp1252ToUtf8(GetParam().cp1252), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodecPairs,
    testing::Values(TextCase{"Dateinamenz\xC3\xA4hler", "Dateinamenz\xE4hler"},
                    TextCase{"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F",
                             "\xE4\xF6\xFC\xC4\xD6\xDC\xDF"},
                    TextCase{"\xE2\x82\xAC", "\x80"},                        // euro sign
                    TextCase{"\xE2\x80\x9E" "a\xE2\x80\x9C", "\x84" "a\x93"},  // German quotes
                    TextCase{"\xE2\x80\x93", "\x96"},                        // en dash
                    TextCase{"\xC5\xB8", "\x9F"},                            // Y diaeresis
                    TextCase{"plain ASCII\r\n", "plain ASCII\r\n"}, TextCase{"", ""}));

// A host path put into a Windows-1252 line reaches the file with its own bytes, whatever the
// folders are called ("Ё" is D0 81 in UTF-8, and 81 has no character in the code page); the rest
// of the line is Windows-1252 as ever.
class HostPathInALine : public testing::TestWithParam<const char*> {};

TEST_P(HostPathInALine, KeepsItsBytes) {
  const std::string host = std::string("/home/") + GetParam() + "/drives/c/Arbeit/Samp100.wav";
  const std::string written = Utf8ToCp1252("\"" + BytesAsCp1252Text(host) + "\" ; Lautstärke");
  EXPECT_EQ(written, "\"" + host + "\" ; Lautst\xE4rke");
  // Read back as Windows-1252 and written again, as a score rewritten in place: the same bytes.
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(written)), written);
}

INSTANTIATE_TEST_SUITE_P(Folders, HostPathInALine,
                         testing::Values("ormila", "Klänge x", "Müller Stück", "jürgen",
                                         "Звуки Ёлка", "Straße ä Звуки Ёлка"));

TEST(Codec, AnAsciiHostPathIsItsOwnText) {
  EXPECT_EQ(BytesAsCp1252Text("/tmp/drives/c/Arbeit/Samp100.wav"),
            "/tmp/drives/c/Arbeit/Samp100.wav");
}

TEST(Codec, CharacterMissingFromTheCodePageBecomesQuestionMark) {
  const TextCase cases[] = {
      {"\xD0\x96", "?"},                    // Cyrillic Zhe
      {"a\xE4\xB8\xAD" "b", "a?b"},         // a CJK character
      {"\xF0\x9F\x98\x80", "?"},            // an emoji (four bytes)
      {"\xC4\x80\xC3\xA4", "?\xE4"},        // A macron, then a-umlaut
      {"\xE2\x82\xAC\xE2\x82\xAD", "\x80?"},  // euro kept, kip sign lost
  };
  for (const TextCase& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(Codec, InvalidUtf8BytesBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a?b");
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");
  EXPECT_EQ(Utf8ToCp1252("\xC0\x80"), "??");
}

TEST(Codec, ValidUtf8) {
  const std::pair<const char*, bool> cases[] = {
      {"", true},
      {"abc", true},
      {"\xC3\xA4", true},
      {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
      {"\xE4", false},              // a Windows-1252 umlaut
      {"\xC3", false},              // cut short
      {"\xE2\x82", false},          // cut short
      {"\xC0\x80", false},          // overlong
      {"\xE0\x80\x80", false},      // overlong
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\x80", false},              // a lone continuation byte
      {"\xC3\x28", false},          // no continuation byte
  };
  for (auto [bytes, valid] : cases) EXPECT_EQ(IsValidUtf8(bytes), valid) << bytes;
}

TEST(Codec, Utf8OrCp1252) {
  const TextCase cases[] = {
      // valid UTF-8 stays as it is
      {"Gr\xC3\xBC\xC3\x9F" "e", "Gr\xC3\xBC\xC3\x9F" "e"},
      {"\xD0\x9C\xD0\xB8\xD1\x80", "\xD0\x9C\xD0\xB8\xD1\x80"},
      // a leading byte-order mark is dropped
      {"abc", "\xEF\xBB\xBF" "abc"},
      {"", "\xEF\xBB\xBF"},
      // not valid UTF-8: read as Windows-1252
      {"Gr\xC3\xBC\xC3\x9F" "e", "Gr\xFC\xDF" "e"},
      {"\xE2\x82\xAC 5", "\x80 5"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(Utf8OrCp1252ToUtf8(c.cp1252), c.utf8) << c.cp1252;
}

}  // namespace
}  // namespace common

namespace common {
namespace {

TEST(CharCount, CountsCharactersNotBytes) {
  EXPECT_EQ(common::CharCount(""), 0u);
  EXPECT_EQ(common::CharCount("*.prs"), 5u);
  EXPECT_EQ(common::CharCount("Ä.prs"), 5u);  // six bytes
  EXPECT_EQ(common::CharCount("C:\\Größe"), 8u);
}

TEST(LowerCase, AsciiAndGermanCapitalsOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"x Dozudava.WAV - Cool Edit y", "x dozudava.wav - cool edit y"},
      {"ÄÖÜ Straße", "äöü straße"},
      {"C:\\ARBEIT\\Tesu.RSZ", "c:\\arbeit\\tesu.rsz"},
      {"× É Ø", "× é ø"},  // the multiplication sign has no small letter
      {"Сон", "Сон"},      // other scripts stay as they are
  };
  for (const auto& [text, lower] : cases) EXPECT_EQ(LowerCase(text), lower) << text;
}

}  // namespace
}  // namespace common
