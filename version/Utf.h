// UTF-8 and UTF-16, for the version block: the build writes its texts as
// UTF-16 and the reader hands them out as UTF-8.
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
