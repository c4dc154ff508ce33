// UTF-8 and UTF-16, the one conversion of the program: the version block
// (the build writes its texts as UTF-16 and the reader hands them out as
// UTF-8) and, on Windows, every call of the wide API.
#pragma once

#include <string>
#include <string_view>

namespace utf
{

// Throws std::invalid_argument for text that is not UTF-8 (bad or overlong
// sequences, surrogates, code points above U+10FFFF).
std::u16string Utf8ToUtf16(std::string_view strText);

// Every unit, zeros included; a lone surrogate becomes U+FFFD. The result is
// at most three bytes per unit.
std::string Utf16ToUtf8(std::u16string_view strText);

} // namespace utf

#if defined(_WIN32)
// UTF-8 and the UTF-16 of the Windows API. Utf8ToWide gives an empty string
// for text that is not UTF-8; WideToUtf8 turns a lone surrogate into U+FFFD.
std::wstring Utf8ToWide(std::string_view str);
std::string WideToUtf8(std::wstring_view str);
#endif
