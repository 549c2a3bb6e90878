#include "interchange/Measurement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "model/Utf8.h"

namespace {

enum class Separator { Comma, Semicolon, Blank };

// The columns read: frequency, level and, where there is one, phase. Files
// with more columns (left and right, several curves) give their first two,
// and the third when it holds the phase.
constexpr int UsedColumns = 3;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trim(std::string_view f) {
    while (!f.empty() && isBlank(f.front())) f.remove_prefix(1);
    while (!f.empty() && isBlank(f.back())) f.remove_suffix(1);
    return f;
}

// A field without the double quotes around it (Klippel quotes its titles
// and the frequencies it writes with a thousands separator).
std::string_view unquoted(std::string_view f) {
    f = trim(f);
    if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = trim(f.substr(1, f.size() - 2));
    return f;
}

bool wholeNumber(const char* first, const char* last, double& value) {
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && std::isfinite(value);
}

// "1,034.91" and "12,345,678.5": commas each before three digits, then a
// decimal point. A comma without a point after it is no thousands separator.
bool groupsThousands(std::string_view f) {
    const std::size_t point = f.find('.');
    const std::size_t firstComma = f.find(',');
    if (point == std::string_view::npos || firstComma == std::string_view::npos ||
        firstComma == 0 || !isDigit(f[firstComma - 1]) || f.rfind(',') > point) {
        return false;
    }
    for (std::size_t i = firstComma; i < point; i += 4) {
        if (f[i] != ',' || i + 4 > point) return false;
        for (std::size_t k = i + 1; k < i + 4; ++k) {
            if (!isDigit(f[k])) return false;
        }
    }
    return true;
}

// A number with a decimal point, or a decimal comma where commas do not
// separate columns, or a thousands separator as groupsThousands() takes it.
// Numbers in measurements are short; a longer field is no number.
bool toNumber(std::string_view field, bool commaDecimal, double& value) {
    field = unquoted(field);
    if (!field.empty() && field[0] == '+') field.remove_prefix(1);  // from_chars takes no '+'
    if (field.empty() || field[0] == '+') return false;
    char buf[64];
    if (field.size() >= sizeof buf) return false;
    std::size_t n = 0;
    const bool grouped = groupsThousands(field);
    const std::size_t comma = commaDecimal && !grouped ? field.find(',') : std::string_view::npos;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (grouped && field[i] == ',') continue;
        buf[n++] = i == comma ? '.' : field[i];
    }
    return wholeNumber(buf, buf + n, value);
}

// Splits `line` at the separator, a field in double quotes holding what it
// holds (a quoted "1,034.91" in a comma-separated file is one field).
std::vector<std::string_view> splitFields(std::string_view line, Separator sep) {
    std::vector<std::string_view> fields;
    const char c = sep == Separator::Comma ? ',' : ';';
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (sep == Separator::Blank) {
            while (pos < line.size() && isBlank(line[pos])) ++pos;
            if (pos == line.size()) break;
        }
        std::size_t end = pos;
        bool quote = false;
        while (end < line.size()) {
            const char x = line[end];
            if (x == '"') quote = !quote;
            if (!quote && (sep == Separator::Blank ? isBlank(x) : x == c)) break;
            ++end;
        }
        fields.push_back(trim(line.substr(pos, end - pos)));
        if (end == line.size()) break;
        pos = end + 1;
        if (sep != Separator::Blank && pos == line.size()) break;  // ends a column, opens none
    }
    return fields;
}

// The separator of the first line of values: semicolons and tabs win;
// commas separate when the line reads as numbers split at them.
Separator detectSeparator(std::string_view line) {
    bool quote = false;
    bool semicolon = false, tab = false, comma = false;
    for (const char c : line) {
        if (c == '"') quote = !quote;
        if (quote) continue;
        semicolon |= c == ';';
        tab |= c == '\t';
        comma |= c == ',';
    }
    if (semicolon) return Separator::Semicolon;
    if (tab) return Separator::Blank;
    if (comma) {
        const std::vector<std::string_view> fields = splitFields(line, Separator::Comma);
        double v = 0.0;
        bool numbers = fields.size() >= 2;
        for (std::size_t i = 0; numbers && i < fields.size() && i < UsedColumns; ++i) {
            numbers = toNumber(fields[i], false, v);
        }
        if (numbers) return Separator::Comma;
    }
    return Separator::Blank;
}

bool isComment(std::string_view line) {
    const char c = line.front();
    return c == '*' || c == '#' || c == ';' || c == '\'' || line.substr(0, 2) == "//";
}

// A line of titles ("Freq(Hz) SPL(dB) Phase", Klippel's quoted "Frequency
// [Hz]"): its first field is no number.
bool isTitleLine(std::string_view line) {
    if (isLetter(line.front())) return true;
    if (line.front() != '"') return false;
    const std::size_t close = line.find('"', 1);
    double v = 0.0;
    return close == std::string_view::npos || !toNumber(line.substr(0, close + 1), true, v);
}

// The titles of a title line, one per column: split like the values, but
// at tabs only where the line has tabs (titles hold blanks: "SPL [dB]").
std::vector<std::string_view> titleNames(std::string_view titles, Separator sep) {
    if (titles.empty()) return {};
    if (sep != Separator::Blank || titles.find('\t') == std::string_view::npos) {
        return splitFields(titles, sep);
    }
    std::vector<std::string_view> names;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t tab = titles.find('\t', pos);
        const std::string_view name = trim(titles.substr(pos, tab - pos));
        if (!name.empty()) names.push_back(name);
        if (tab == std::string_view::npos) break;
        pos = tab + 1;
    }
    return names;
}

// Titles that name a phase.
bool namesPhase(std::string_view title) {
    std::string lower;
    for (const char c : title) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (const char* word : {"phase", "deg", "grad", "\u00B0"}) {
        if (lower.find(word) != std::string::npos) return true;
    }
    return false;
}

// Values that can only be a phase: all within ±180° and wrapping somewhere
// or going far below what a level in dB does.
bool looksLikePhase(const std::vector<double>& values) {
    bool wraps = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::fabs(values[i]) > 180.5) return false;
        wraps |= values[i] < -90.0 || (i > 0 && std::fabs(values[i] - values[i - 1]) > 180.0);
    }
    return wraps;
}

MeasurementRead refuse(int line, std::string error) {
    MeasurementRead r;
    r.errorLine = line;
    r.error = std::move(error);
    return r;
}

}  // namespace

std::string MeasurementRead::message() const {
    return errorLine > 0 ? "Zeile " + std::to_string(errorLine) + ": " + error : error;
}

MeasurementRead parseMeasurement(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    MeasurementRead r;
    Measurement& m = r.measurement;
    Separator sep = Separator::Blank;
    std::size_t columns = 0;    // of the first line of values
    std::string_view titles;    // the last title line before the values
    bool pause = false;         // a blank or comment line since the last values
    std::vector<double> third;  // the third column of a file with more than three
    int number = 0;
    int lastValues = 0;  // the line of the last values read
    std::size_t pos = 0;
    // Once values have been read, what follows a file's values (a summary
    // table, a second curve) ends them; the report says where.
    const auto end = [&](int line, const std::string& what) {
        r.endLine = line;
        r.notice = "Die Messwerte enden in Zeile " + std::to_string(lastValues) + "; ab Zeile " +
                   std::to_string(line) + " (" + what + ") ist nichts gelesen.";
    };
    while (pos < text.size()) {
        const std::size_t lineEnd = std::min(text.find('\n', pos), text.size());
        const std::string_view line = trim(text.substr(pos, lineEnd - pos));
        pos = lineEnd + 1;
        ++number;
        const bool values = !m.frequencies.empty();
        if (line.empty() || isComment(line)) {
            pause |= values;
            continue;
        }
        if (isTitleLine(line)) {
            if (values) {
                end(number, "eine Zeile ohne Zahlen");
                break;
            }
            titles = line;
            continue;
        }
        if (columns == 0) sep = detectSeparator(line);
        const std::vector<std::string_view> fields = splitFields(line, sep);
        const std::size_t n = fields.size();
        if (n < 2) {
            if (values && pause) {
                end(number, "eine andere Tabelle");
                break;
            }
            return refuse(number, "Frequenz und Pegel erwartet");
        }
        if (columns == 0) {
            columns = n;
        } else if (n != columns) {
            if (pause) {
                end(number, "eine andere Tabelle");
                break;
            }
            return refuse(number, std::to_string(n) + " statt " + std::to_string(columns) +
                                      " Spalten wie in den Zeilen davor");
        }
        double v[UsedColumns] = {};
        const std::size_t used = std::min<std::size_t>(n, UsedColumns);
        std::size_t bad = used;
        for (std::size_t i = 0; i < used && bad == used; ++i) {
            if (!toNumber(fields[i], sep != Separator::Comma, v[i])) bad = i;
        }
        if (bad < used) {
            if (values && pause) {
                end(number, "eine andere Tabelle");
                break;
            }
            return refuse(number, quotedExcerpt(unquoted(fields[bad])) + " ist keine Zahl");
        }
        if (!(v[0] > 0.0)) return refuse(number, "Frequenz muss größer als 0 sein");
        if (values && !(v[0] > m.frequencies.back())) {
            if (pause) {
                end(number, "eine andere Tabelle");
                break;
            }
            return refuse(number, "Frequenzen müssen von Zeile zu Zeile steigen");
        }
        pause = false;
        lastValues = number;
        m.frequencies.push_back(v[0]);
        m.db.push_back(v[1]);
        if (n == UsedColumns) m.phaseDegrees.push_back(v[2]);
        if (n > UsedColumns) third.push_back(v[2]);
    }
    if (m.frequencies.size() < 2) return refuse(0, "Die Datei enthält keine zwei Messpunkte.");
    // The third column is the phase when its title says so; without titles
    // that name every column, of three columns it is (REW, FRD), of more
    // only when its values can be nothing else.
    const std::vector<std::string_view> names = titleNames(titles, sep);
    if (names.size() == columns && columns >= UsedColumns) {
        if (!namesPhase(names[2])) m.phaseDegrees.clear();
        if (namesPhase(names[2]) && !third.empty()) m.phaseDegrees = std::move(third);
    } else if (!third.empty() && looksLikePhase(third)) {
        m.phaseDegrees = std::move(third);
    }
    r.ok = true;
    return r;
}

bool midrangeAverageDb(const Measurement& m, double& average) {
    const double lo = std::log(200.0);
    const double hi = std::log(2000.0);
    double area = 0.0;
    double width = 0.0;
    for (std::size_t i = 0; i + 1 < m.frequencies.size(); ++i) {
        const double x0 = std::log(m.frequencies[i]);
        const double x1 = std::log(m.frequencies[i + 1]);
        const double a = std::max(x0, lo);
        const double b = std::min(x1, hi);
        if (!(b > a)) continue;
        const auto at = [&](double x) {
            return m.db[i] + (m.db[i + 1] - m.db[i]) * (x - x0) / (x1 - x0);
        };
        area += (b - a) * (at(a) + at(b)) / 2.0;
        width += b - a;
    }
    if (!(width > 0.0)) return false;
    average = area / width;
    return true;
}

double responseDbAt(const ChannelResponse& response, double hz) {
    // Grid point j is at 2 * 10^(j / 100) Hz.
    const double j = hz > 0.0 ? 100.0 * std::log10(hz / 2.0) : 0.0;
    const int last = ChannelResponse::pointCount - 1;
    if (!(j > 0.0)) return response.db[0];
    if (!(j < last)) return response.db[last];
    const int j0 = static_cast<int>(j);
    const double t = j - j0;
    return response.db[j0] + t * (response.db[j0 + 1] - response.db[j0]);
}

std::vector<double> predictedDb(const Measurement& m, const ChannelResponse& response,
                                double offsetDb) {
    std::vector<double> out(m.frequencies.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = m.db[i] + offsetDb + responseDbAt(response, m.frequencies[i]);
    }
    return out;
}
