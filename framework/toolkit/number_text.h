// Number <-> text functions of the toolkit: Val, Format, Asc and the elementary maths the
// framework names Abs, Log and Exp. Pure C++ on top of the runtime's String; no Qt.
#pragma once

#include <cstdint>

#include "framework/runtime/string_data.h"

// Val: the leading number of a text.
//
// Reads optional leading blanks (space, tab, CR, LF), an optional "+" or "-", digits with an
// optional "." and fraction digits (".5" and "5." are numbers, "." alone is not), and an
// optional exponent "e"/"E" with optional sign, taken only when at least one exponent digit
// follows. Anything after the number is ignored: "1/2" gives 1, "0.5abc" gives 0.5, "1e+x"
// gives 1. The result is the nearest Double to the decimal text; a value too large for a
// Double gives +-infinity, a value too small gives +-0. Text without a leading number ("",
// "-", ".", "-.", "abc", "Infinity", "NaN") gives 0. Never throws.
double StringVal(const String& text);

// Format: renders a value by a pattern.
//
// Pattern characters:
//   0   a digit, always shown
//   #   a digit, shown only when significant
//   .   the decimal point (the first one; later ones are literal)
//   ,   before the point: group the integer digits by three with ","; after it: literal
//   +   the sign: "+" for zero and positive values, "-" for negative ones
//   -   the sign of negative values only: "-" or nothing
//   %   shows "%" and scales the value by 100 (each "%" once more); the scaling moves the
//       decimal point in the exact decimal digits, so it adds no rounding error
//   \x  the character x, literally
//   ;   separates sections "positive;negative;zero"
// Any other character is copied as it stands.
//
// Digits: the value is rounded correctly (from its exact binary value) to as many decimals as
// there are 0/# after the point. Before the point, all significant integer digits are shown,
// padded with zeros up to the position of the leftmost 0; digits beyond the placeholders go
// to the leftmost placeholder. With no placeholder before the point, a magnitude below 1
// shows no integer digit ("+.000000": 0.5 -> "+.500000", 1.5 -> "+1.500000"). After the
// point, digits up to the rightmost 0 are always shown and a "#" drops trailing zeros; the
// point itself is shown only when a fraction digit follows it. With no digit placeholder and
// no point at all, the integer digits go to the end.
//
// Signs: a pattern without "+" or "-" puts "-" in front of a negative value. A value that
// rounds to zero is shown as zero, with no "-" ("+.000000": -0.0000001 -> "+.000000").
//
// Sections: with a second section, negative values use it, with their sign shown only where
// that section has a "+" or "-" (so "0;(0)" gives "(5)" for -5). With a third section, a
// value that rounds to zero in its section uses the third. An empty section falls back to
// the first; sections after the third are ignored.
//
// NaN and the infinities ignore the pattern: "NaN", "+Infinity", "-Infinity". An empty pattern
// gives the shortest text that reads back to the same Double ("0.1", "1e+300", "-2.5").
String StringFormat(double value, const String& pattern);

// Asc: the Unicode code point of the first character of a UTF-8 text; when the text does not
// start with a well-formed UTF-8 sequence, the value of its first byte; 0 for "".
int64_t StringDBCSAsc(const String& text);

// Absolute value, natural logarithm and e to the power of a value.
double Abs(double value);
double Log(double value);
double Exp(double value);
