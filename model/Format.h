// printf-style fixed-point formatting with the program's rounding.
//
// glibc's printf rounds exact binary halves to even (6.25 -> "6.2"); every
// number this program shows is rounded in two steps instead: the value is
// first turned into 17 significant decimal digits, then rounded half away
// from zero at the last digit shown (6.25 -> "6.3", 12.5 -> "13").
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// One number as "%<nWidth>.<nPrecision>f" would write it (right-aligned with
// blanks to nWidth). NaN is "nan", infinities "inf" and "-inf".
std::string FormatFixed(double dValue, int nPrecision, int nWidth = 0);

// A printf-style format holding only "%%" and "%[-][width][.precision]f"
// conversions, each "f" taking the next value. Missing values count as 0.0.
std::string FormatNumbers(std::string_view strFormat, std::initializer_list<double> values);
