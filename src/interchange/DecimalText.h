#pragma once
// Numbers as other programs write them into text files. Readers accept a
// decimal point or a decimal comma (Room EQ Wizard writes what the system's
// locale uses); writers always use the point, which every reader accepts.

#include <optional>
#include <string>
#include <string_view>

// A finite decimal number: optional sign, digits with one decimal point or
// comma, optional exponent. Nothing else may be part of the text. When both
// a point and a comma occur, the last one is the decimal separator and the
// others group thousands ("1.234,5" and "1,234.5" are both 1234.5).
std::optional<double> parseDecimal(std::string_view text);

// A frequency in Hz as filter texts write it. Like parseDecimal(), and a
// single separator followed by exactly three digits in a number of at least
// five characters groups thousands ("1.448" and "12,500" Hz are 1448 and
// 12500 Hz): Room EQ Wizard writes frequencies that way in some locales, and
// never with three decimals, and Equalizer APO reads them the same way.
std::optional<double> parseFrequency(std::string_view text);

// `value` with at most `maxDecimals` decimals, trailing zeros and a trailing
// point dropped, a point as separator and no "-0".
std::string formatDecimal(double value, int maxDecimals);

// Like formatDecimal(), but a value that would read as 0 there or is too
// large for plain digits (from 1e9 on) keeps three significant digits with
// an exponent ("1e-320"), so that a report never shows a value other than
// the one read.
std::string formatReadValue(double value, int maxDecimals);

// A count with its groups of three held together by no-break spaces
// ("6 999 990"), for reports.
std::string groupedCount(long long count);

// The same with a sign always ("+3", "-1.5", "0"), for gains.
std::string formatSignedDecimal(double value, int maxDecimals);
