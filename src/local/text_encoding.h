// The two encodings a site list may arrive in, and the decoding of the older
// one. The program's texts are UTF-8; a file that is valid UTF-8 is taken as it
// stands, anything else is read as Shift-JIS (Windows code page 932).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vernier {

enum class TextEncoding { Utf8, ShiftJis };

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Utf8 when the bytes are valid UTF-8 (plain ASCII included), else ShiftJis.
TextEncoding DetectTextEncoding(std::string_view bytes);

// The length in bytes of the character that starts at bytes[pos] (pos < size):
// 1 or 2 for Shift-JIS, 1 to 4 for UTF-8. A lead byte without its partner, or
// a stray byte, counts as a character of its own.
std::size_t CharacterLength(std::string_view bytes, std::size_t pos, TextEncoding encoding);

// Shift-JIS (code page 932) text as UTF-8. A byte pair that is no character,
// or a lead byte at the end, becomes U+FFFD.
std::string ShiftJisToUtf8(std::string_view bytes);

}  // namespace vernier
