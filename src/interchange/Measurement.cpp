#include "interchange/Measurement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "model/Utf8.h"

namespace {

enum class Separator { Comma, Semicolon, Blank };

constexpr int MaxColumns = 3;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool wholeNumber(const char* first, const char* last, double& value) {
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && std::isfinite(value);
}

// A number with a decimal point, or a decimal comma where commas do not
// separate columns. Numbers in measurements are short; a longer field with a
// comma is no number.
bool toNumber(std::string_view field, bool commaDecimal, double& value) {
    if (!field.empty() && field[0] == '+') field.remove_prefix(1);  // from_chars takes no '+'
    if (field.empty() || field[0] == '+') return false;
    const std::size_t comma = commaDecimal ? field.find(',') : std::string_view::npos;
    if (comma == std::string_view::npos) {
        return wholeNumber(field.data(), field.data() + field.size(), value);
    }
    char buf[64];
    if (field.size() >= sizeof buf) return false;
    std::memcpy(buf, field.data(), field.size());
    buf[comma] = '.';
    return wholeNumber(buf, buf + field.size(), value);
}

// Splits `line` into at most MaxColumns + 1 fields (one more than allowed,
// so that too many columns are seen).
int splitFields(std::string_view line, Separator sep, std::string_view* fields) {
    int count = 0;
    std::size_t pos = 0;
    const auto trim = [](std::string_view f) {
        while (!f.empty() && isBlank(f.front())) f.remove_prefix(1);
        while (!f.empty() && isBlank(f.back())) f.remove_suffix(1);
        return f;
    };
    if (sep == Separator::Blank) {
        while (pos < line.size() && count <= MaxColumns) {
            while (pos < line.size() && isBlank(line[pos])) ++pos;
            if (pos == line.size()) break;
            const std::size_t start = pos;
            while (pos < line.size() && !isBlank(line[pos])) ++pos;
            fields[count++] = line.substr(start, pos - start);
        }
        return count;
    }
    const char c = sep == Separator::Comma ? ',' : ';';
    while (count <= MaxColumns) {
        const std::size_t end = std::min(line.find(c, pos), line.size());
        fields[count++] = trim(line.substr(pos, end - pos));
        if (end == line.size()) break;
        pos = end + 1;
    }
    // A separator at the end of a line ends the last column, it opens none.
    if (count > 1 && fields[count - 1].empty()) --count;
    return count;
}

// The separator of the first line of values: semicolons and tabs win;
// commas separate when the line reads as two or three numbers split at them.
Separator detectSeparator(std::string_view line) {
    if (line.find(';') != std::string_view::npos) return Separator::Semicolon;
    if (line.find('\t') != std::string_view::npos) return Separator::Blank;
    if (line.find(',') != std::string_view::npos) {
        std::string_view fields[MaxColumns + 1];
        const int n = splitFields(line, Separator::Comma, fields);
        double v = 0.0;
        bool numbers = n >= 2 && n <= MaxColumns;
        for (int i = 0; numbers && i < n; ++i) numbers = toNumber(fields[i], false, v);
        if (numbers) return Separator::Comma;
    }
    return Separator::Blank;
}

bool isComment(std::string_view line) {
    const char c = line.front();
    return c == '*' || c == '#' || c == ';' || c == '"' || c == '\'' || line.substr(0, 2) == "//";
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
    int columns = 0;  // of the first line of values
    int number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
        while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
        if (line.empty() || isComment(line)) continue;
        // Column titles before the first values ("Freq(Hz) SPL(dB) Phase").
        if (columns == 0 && isLetter(line.front())) continue;
        if (columns == 0) sep = detectSeparator(line);

        std::string_view fields[MaxColumns + 1];
        const int n = splitFields(line, sep, fields);
        if (n < 2) return refuse(number, "Frequenz und Pegel erwartet");
        if (n > MaxColumns) return refuse(number, "mehr als drei Spalten");
        if (columns == 0) {
            columns = n;
        } else if (n != columns) {
            return refuse(number, std::to_string(n) + " statt " + std::to_string(columns) +
                                      " Spalten wie in den Zeilen davor");
        }
        double values[MaxColumns] = {};
        for (int i = 0; i < n; ++i) {
            if (!toNumber(fields[i], sep != Separator::Comma, values[i])) {
                return refuse(number, quotedExcerpt(fields[i]) + " ist keine Zahl");
            }
        }
        if (!(values[0] > 0.0)) return refuse(number, "Frequenz muss größer als 0 sein");
        if (!m.frequencies.empty() && !(values[0] > m.frequencies.back())) {
            return refuse(number, "Frequenzen müssen von Zeile zu Zeile steigen");
        }
        m.frequencies.push_back(values[0]);
        m.db.push_back(values[1]);
        if (n == 3) m.phaseDegrees.push_back(values[2]);
    }
    if (m.frequencies.size() < 2) return refuse(0, "Die Datei enthält keine zwei Messpunkte.");
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
