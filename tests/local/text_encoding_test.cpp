#include "local/text_encoding.h"

#include <gtest/gtest.h>

namespace vernier {
namespace {

TEST(TextEncoding, DetectsUtf8AndFallsBackToShiftJis) {
  EXPECT_EQ(DetectTextEncoding("plain ASCII, 1.5"), TextEncoding::Utf8);
  EXPECT_EQ(DetectTextEncoding("東京"), TextEncoding::Utf8);
  EXPECT_EQ(DetectTextEncoding("\x93\x8C\x8B\x9E"), TextEncoding::ShiftJis);
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xE6\x9D"));          // cut short
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8C\x91"));   // four bytes
}

TEST(TextEncoding, DecodesCodePage932) {
  EXPECT_EQ(ShiftJisToUtf8("Tokyo \x93\x8C\x8B\x9E"), "Tokyo 東京");
  EXPECT_EQ(ShiftJisToUtf8("\xB1\xB2\xB3"), "ｱｲｳ");       // half-width katakana
  EXPECT_EQ(ShiftJisToUtf8("\x87\x40"), "①");             // NEC special row
  EXPECT_EQ(ShiftJisToUtf8("\x81\x5F"), "＼");             // full-width backslash
  EXPECT_EQ(ShiftJisToUtf8("\x82\xA0"), "あ");
  EXPECT_EQ(ShiftJisToUtf8("\x85\x40"), "\xEF\xBF\xBD");   // an empty cell: U+FFFD
  EXPECT_EQ(ShiftJisToUtf8("a\x93"), "a\xEF\xBF\xBD");     // a lead byte at the end
  EXPECT_EQ(CharacterLength("\x93\x8C", 0, TextEncoding::ShiftJis), 2u);
  EXPECT_EQ(CharacterLength("\x93,", 0, TextEncoding::ShiftJis), 1u);  // ',' is no trail byte
  EXPECT_EQ(CharacterLength("東", 0, TextEncoding::Utf8), 3u);
}

}  // namespace
}  // namespace vernier
