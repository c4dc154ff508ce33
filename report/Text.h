// The text helpers every report shares: UTF-8, XML and HTML escaping, and
// fractions written as percentages with the program's rounding.
#pragma once

#include <string>
#include <string_view>

// Decodes the UTF-8 sequence at strText[nPos], advancing nPos past it. An
// ill-formed sequence gives U+FFFD for its longest valid beginning (at least
// one byte), as Unicode recommends.
char32_t DecodeUtf8(std::string_view strText, std::size_t& nPos);

// strText with every ill-formed sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view strText);

// The entity of &, <, >, " and ' (&#39;); nullptr for any other character.
const char* XmlEntity(char32_t ch);

// strText for XML and HTML: &, <, >, " and ' as entities (' as &#39;), bytes
// that are not UTF-8 and characters XML does not allow as U+FFFD, so that any
// file name makes a well-formed document.
std::string EscapeXml(std::string_view strText);

// A fraction as a percentage with one decimal, no % sign, right-aligned to
// nWidth: "31.2".
std::string FormatPercent(double dFraction, int nWidth = 0);
// The same with its % sign: "31.2%".
std::string PercentText(double dFraction);
// A change of a fraction as percentage points with one decimal and a sign:
// "+4.2", "-0.3", "0.0".
std::string FormatPoints(double dFraction);
