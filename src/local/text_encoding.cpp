#include "local/text_encoding.h"

namespace vernier {
namespace {

#include "local/shift_jis_table.inc"

bool IsShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsShiftJisTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The code point of the UTF-8 sequence at bytes[pos], and its length; length 0
// when the bytes there are not a valid sequence.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char b0 = at(pos);
  if (b0 < 0x80) return 1;
  std::size_t length;
  char32_t cp, minimum;
  if (b0 >= 0xC2 && b0 <= 0xDF) length = 2, cp = b0 & 0x1F, minimum = 0x80;
  else if (b0 >= 0xE0 && b0 <= 0xEF) length = 3, cp = b0 & 0x0F, minimum = 0x800;
  else if (b0 >= 0xF0 && b0 <= 0xF4) length = 4, cp = b0 & 0x07, minimum = 0x10000;
  else return 0;
  if (pos + length > bytes.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char b = at(pos + i);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char16_t DoubleByte(unsigned char lead, unsigned char trail) {
  const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
  return kCp932DoubleByte[row][trail - kCp932TrailFirst];
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

TextEncoding DetectTextEncoding(std::string_view bytes) {
  return IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::size_t CharacterLength(std::string_view bytes, std::size_t pos, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) {
    const std::size_t length = Utf8SequenceLength(bytes, pos);
    return length == 0 ? 1 : length;
  }
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (IsShiftJisLead(lead) && pos + 1 < bytes.size() &&
      IsShiftJisTrail(static_cast<unsigned char>(bytes[pos + 1])))
    return 2;
  return 1;
}

std::string ShiftJisToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  for (std::size_t pos = 0; pos < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[pos]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++pos;
      continue;
    }
    if (CharacterLength(bytes, pos, TextEncoding::ShiftJis) == 2) {
      const char16_t cp = DoubleByte(b, static_cast<unsigned char>(bytes[pos + 1]));
      AppendUtf8(out, cp ? cp : 0xFFFD);
      pos += 2;
      continue;
    }
    const char16_t cp = kCp932SingleByte[b - 0x80];
    AppendUtf8(out, cp ? cp : 0xFFFD);
    ++pos;
  }
  return out;
}

}  // namespace vernier
