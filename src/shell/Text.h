// Text helpers. Texts inside the program are UTF-8; the configuration files
// carry one 8-bit character (Latin-1) per byte.
#pragma once

#include <string>
#include <string_view>

namespace cfg {

// True when every byte is below 0x80: one byte is one character, so its
// character counts and columns are byte counts and offsets.
bool IsAscii(std::string_view);
// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view);
// Byte offset of character n (0-based) of a UTF-8 text; the text's size
// when it has n characters or fewer.
std::size_t Utf8Offset(std::string_view, std::size_t n);
// The first n characters of a UTF-8 text.
std::string Utf8Left(const std::string&, std::size_t n);
// The text cut or filled with blanks to exactly n characters.
std::string Utf8PadRight(const std::string&, std::size_t n);
std::string Latin1ToUtf8(const std::string&);
// Characters outside Latin-1 become '?'.
std::string Utf8ToLatin1(const std::string&);
// Decimal text of v without blanks: a whole number without a decimal
// point, any other with up to 10 significant digits.
std::string NumberText(double v);
// The number a text starts with (blanks skipped), 0 when none.
double ParseNumber(const std::string&);
// Hexadecimal text in upper case without leading zeros.
std::string HexText(long v);

}  // namespace cfg
