#pragma once
// Curves on the ResponseGrid as CSV text, as filtaro-cli and the export of the
// plot write them: a header line naming each column with its unit, then one
// line per grid point with the frequency and every curve's value there.
// Commas separate the columns and a point is the decimal point whatever the
// locale; every value is written with the fewest digits that read back to
// the same single-precision number. Lines end in "\n".

#include <string>
#include <string_view>
#include <vector>

#include "response/ComplexResponse.h"

struct CsvCurve {
    std::string name;              // e.g. "Kanal 1", "Summe L", or a channel's own name
    const ResponseValues* values;  // must outlive the call
};

// "Kanal 1" .. "Kanal 6" for channel 0..5; with the name the user gave the
// channel, "Kanal 2 (Hochton links)".
std::string channelCurveName(int channel, std::string_view ownName = {});

// Header "Frequenz [Hz],<name> [<unit>],..." and the points first..end-1 of
// the grid (all 2000 by default; the range is clamped to the grid). A name
// holding a comma, a quote or a line break is quoted, quotes doubled. Degrees
// are written "deg": a spreadsheet program that takes the file for another
// encoding than UTF-8 would garble "°". A value that is not a number (a
// curve that does not reach the point) leaves its cell empty.
std::string curvesCsv(const std::vector<CsvCurve>& curves, std::string_view unit, int first = 0,
                      int end = ResponsePointCount);
