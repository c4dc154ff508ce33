// Numbers and fields of the machine-readable exports.
//
// A finite double is written in the shortest form that reads back bit for
// bit; NaN and the infinities, which a project file can hold as weights, are
// the words "NaN", "Infinity" and "-Infinity".
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

// The shortest round-trip text of dValue, or one of the three words.
std::string FormatShortest(double dValue);

// The shortest round-trip text of a finite dValue as std::to_chars(first,
// last, dValue) writes it, into at least 32 bytes at pszOut; returns its end.
// Where the standard library has no floating-point to_chars (libc++ 13, the
// browser build's) ShortestCharsPortable gives the same bytes.
char* ShortestChars(char* pszOut, double dValue);
char* ShortestCharsPortable(char* pszOut, double dValue);

// dValue as a JSON value: a number when finite, otherwise the word as a string.
nlohmann::ordered_json JsonNumber(double dValue);

// The JSON text of a document, ended by a line feed: two-space indents, an
// object or array holding only numbers, strings, booleans and nulls on one
// line, every double in its shortest round-trip form (FormatShortest; JSON
// numbers never hold the three words, JsonNumber makes them strings first).
std::string DumpJson(const nlohmann::ordered_json& document);

// The same on one line, without the line feed: every object and array as
// DumpJson writes a flat one ({"a": 1, "b": [2, 3]}).
void AppendJsonLine(std::string& strOut, const nlohmann::ordered_json& value);

// A JSON number or one of the three words back as a double; nothing for any
// other value.
std::optional<double> ParseJsonNumber(const nlohmann::json& value);

// One CSV field: quoted (with doubled quotes) when it holds a comma, a
// quote, a CR or an LF, otherwise as it is.
std::string CsvField(std::string_view strField);
