#include "storage/SideFile.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "platform/Utf8Path.h"
#include "storage/DamagedFile.h"
#include "storage/FileMessages.h"
#include "storage/TextFile.h"

namespace {

using Json = nlohmann::json;

// Far more than six names and paths take; a larger file is no side file.
constexpr std::size_t MaxSideFileBytes = 1 << 20;

// The format nests three levels (the object, "channels", one channel); a
// newer program's keys may add a few. Text nested deeper is no side file,
// and the library's writer would recurse once per level.
constexpr int MaxSideFileNesting = 32;

std::string fileName(const std::string& path) {
    return utf8FromPath(pathFromUtf8(path).filename());
}

// Whether arrays and objects in `text` nest no deeper than `limit` (brackets
// inside strings do not count). Text that is no JSON may pass; the parser
// refuses it.
bool nestingWithin(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

// The parsed object, or false with the line at which the text stops being
// JSON (0 when it is JSON but no side file: no object, nested too deep, or
// a number no double holds, such as 1e400). No exception of the library
// leaves here.
bool parseObject(const std::string& text, Json& out, int& errorLine) {
    errorLine = 0;
    if (!nestingWithin(text, MaxSideFileNesting)) return false;
    try {
        out = Json::parse(text);
    } catch (const Json::parse_error& e) {
        const std::size_t end = std::min<std::size_t>(e.byte, text.size());
        errorLine = 1 + static_cast<int>(std::count(text.begin(), text.begin() + end, '\n'));
        return false;
    } catch (const std::exception&) {
        return false;
    }
    return out.is_object();
}

std::string stringAt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

bool boolAt(const Json& object, const char* key, bool fallback) {
    const auto it = object.find(key);
    return it != object.end() && it->is_boolean() ? it->get<bool>() : fallback;
}

// The strings of an array at `key`, empty ones and other values left out.
std::vector<std::string> stringsAt(const Json& object, const char* key) {
    std::vector<std::string> out;
    const auto it = object.find(key);
    if (it == object.end() || !it->is_array()) return out;
    for (const Json& value : *it) {
        if (value.is_string() && !value.get<std::string>().empty()) {
            out.push_back(value.get<std::string>());
        }
    }
    return out;
}

// A channel's files: the list, while its first entry is "measurement".
MeasurementList measurementsOf(const Json& entry) {
    const std::string first = stringAt(entry, "measurement");
    if (first.empty()) return {};
    MeasurementList list = stringsAt(entry, "measurements");
    if (list.empty() || list.front() != first) return {first};
    return list;
}

Json objectAt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_object() ? *it : Json::object();
}

// A side file as it stands on the disk.
struct SideFileOnDisk {
    SideFileState state = SideFileState::Missing;
    bool regular = true;  // Broken: a file (or a link to one), not a folder or a pipe
    std::string text;     // Read: the file
    Json root;            // Read: its object
    std::string message;  // Broken: the German text to show once
};

SideFileOnDisk readSideFileAt(const std::string& path) {
    SideFileOnDisk disk;
    std::error_code ec;
    const auto status = std::filesystem::status(pathFromUtf8(path), ec);
    if (status.type() == std::filesystem::file_type::not_found) return disk;
    disk.state = SideFileState::Broken;
    disk.regular = status.type() == std::filesystem::file_type::regular;
    const auto text = readTextFile(path, MaxSideFileBytes);
    if (!text) {
        disk.message = "Die Zusatzdatei \"" + fileName(path) + "\" kann nicht gelesen werden (" +
                       fileOpenProblem(path, 0, MaxSideFileBytes) +
                       "); Kanalnamen und Messungen fehlen.";
        return disk;
    }
    int errorLine = 0;
    if (!parseObject(*text, disk.root, errorLine)) {
        disk.message = "Die Zusatzdatei \"" + fileName(path) + "\" ist beschädigt" +
                       (errorLine > 0 ? " (Zeile " + std::to_string(errorLine) + ")" : "") +
                       " und wird nicht verwendet; Kanalnamen und Messungen fehlen.";
        return disk;
    }
    disk.state = SideFileState::Read;
    disk.text = *text;
    return disk;
}

// The text of the side file: `data` over what it was read from.
std::optional<std::string> sideFileText(const SideFile& data) {
    try {
        Json root = Json::object();
        int errorLine = 0;
        if (!data.original.empty() && !parseObject(data.original, root, errorLine)) {
            root = Json::object();
        }
        Json& channels = root["channels"];
        if (!channels.is_array()) channels = Json::array();
        while (channels.size() < ChannelCount) channels.push_back(Json::object());
        for (int c = 0; c < ChannelCount; ++c) {
            Json& entry = channels[static_cast<std::size_t>(c)];
            if (!entry.is_object()) entry = Json::object();
            const MeasurementList& files = data.measurements[c];
            entry["name"] = data.channelNames[c];
            entry["measurement"] = files.empty() ? std::string() : files.front();
            entry["measurements"] = files;
        }
        Json& overlay = root["overlay"];
        if (!overlay.is_object()) overlay = Json::object();
        overlay["normalise"] = data.overlay.normalise;
        overlay["shared_offset"] = data.overlay.sharedOffset;
        overlay["predicted"] = data.overlay.predicted;
        overlay["averaging"] = averagingName(data.overlay.averaging);
        overlay["smoothing"] = smoothingName(data.overlay.smoothing);
        // Text that is no UTF-8 (a name from an old file) is written with
        // replacement characters rather than refused.
        return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

bool sideFileHasContent(const SideFile& data) {
    const auto named = [](const std::string& s) { return !s.empty(); };
    const auto listed = [](const MeasurementList& files) { return !files.empty(); };
    return std::any_of(data.channelNames.begin(), data.channelNames.end(), named) ||
           std::any_of(data.measurements.begin(), data.measurements.end(), listed) ||
           data.overlay != OverlayOptions{} || !data.original.empty();
}

std::string sideFilePath(const std::string& parameterFilePath) {
    return utf8FromPath(pathFromUtf8(parameterFilePath).replace_extension(".filtaro.json"));
}

SideFileLoad loadSideFile(const std::string& parameterFilePath) {
    SideFileOnDisk disk = readSideFileAt(sideFilePath(parameterFilePath));
    SideFileLoad load;
    load.state = disk.state;
    load.message = std::move(disk.message);
    if (disk.state != SideFileState::Read) return load;
    SideFile& data = load.data;
    data.original = std::move(disk.text);
    const Json& root = disk.root;
    const auto channels = root.find("channels");
    if (channels != root.end() && channels->is_array()) {
        for (std::size_t c = 0; c < channels->size() && c < ChannelCount; ++c) {
            const Json& entry = (*channels)[c];
            if (!entry.is_object()) continue;
            data.channelNames[c] = stringAt(entry, "name");
            data.measurements[c] = measurementsOf(entry);
        }
    }
    const Json overlay = objectAt(root, "overlay");
    OverlayOptions& options = data.overlay;
    options.normalise = boolAt(overlay, "normalise", options.normalise);
    options.sharedOffset = boolAt(overlay, "shared_offset", options.sharedOffset);
    options.predicted = boolAt(overlay, "predicted", options.predicted);
    options.averaging =
        averagingFromName(stringAt(overlay, "averaging")).value_or(options.averaging);
    options.smoothing =
        smoothingFromName(stringAt(overlay, "smoothing")).value_or(options.smoothing);
    return load;
}

bool saveSideFile(const std::string& parameterFilePath, const SideFile& data) {
    const std::string path = sideFilePath(parameterFilePath);
    const SideFileOnDisk disk = readSideFileAt(path);
    if (disk.state == SideFileState::Broken) {
        // A side file that could not be read (damaged, too large, written
        // by hand, unreadable) is never written over. With nothing to keep
        // it stays as it is; else it is set aside first, whole.
        if (!sideFileHasContent(data)) return true;
        if (!disk.regular || !setAsideAsDamaged(path)) return false;
    }
    const std::optional<std::string> text = sideFileText(data);
    return text && writeTextFile(path, *text);
}

std::string measurementFilePath(const std::string& parameterFilePath, const std::string& stored) {
    const std::filesystem::path p = pathFromUtf8(stored);
    if (stored.empty() || p.is_absolute()) return stored;
    return utf8FromPath(pathFromUtf8(sideFilePath(parameterFilePath)).parent_path() / p);
}

std::string storedMeasurementPath(const std::string& parameterFilePath,
                                  const std::string& measurementPath) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(
        pathFromUtf8(sideFilePath(parameterFilePath)).parent_path(), error);
    if (error) return measurementPath;
    const std::filesystem::path file =
        std::filesystem::absolute(pathFromUtf8(measurementPath), error);
    if (error) return measurementPath;
    const std::filesystem::path relative =
        file.lexically_normal().lexically_relative(folder.lexically_normal());
    if (relative.empty() || *relative.begin() == "..") return measurementPath;
    // With '/' on every system, so that the side file travels with its folder.
    const std::u8string generic = relative.generic_u8string();
    return std::string(generic.begin(), generic.end());
}
