#include "storage/SideFile.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/Utf8Path.h"
#include "storage/TextFile.h"

namespace {

using Json = nlohmann::json;

// Far more than six names and paths take; a larger file is no side file.
constexpr std::size_t MaxSideFileBytes = 1 << 20;

std::string fileName(const std::string& path) {
    return utf8FromPath(pathFromUtf8(path).filename());
}

// The parsed object, or the line at which the text stops being JSON (0 when
// it is JSON but no object).
bool parseObject(const std::string& text, Json& out, int& errorLine) {
    try {
        out = Json::parse(text);
    } catch (const Json::parse_error& e) {
        const std::size_t end = std::min<std::size_t>(e.byte, text.size());
        errorLine = 1 + static_cast<int>(std::count(text.begin(), text.begin() + end, '\n'));
        return false;
    }
    errorLine = 0;
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

Json objectAt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_object() ? *it : Json::object();
}

}  // namespace

bool sideFileHasContent(const SideFile& data) {
    const auto named = [](const std::string& s) { return !s.empty(); };
    return std::any_of(data.channelNames.begin(), data.channelNames.end(), named) ||
           std::any_of(data.measurements.begin(), data.measurements.end(), named) ||
           data.overlay != OverlayOptions{} || !data.original.empty();
}

std::string sideFilePath(const std::string& parameterFilePath) {
    return utf8FromPath(pathFromUtf8(parameterFilePath).replace_extension(".filtaro.json"));
}

SideFileLoad loadSideFile(const std::string& parameterFilePath) {
    SideFileLoad load;
    const std::string path = sideFilePath(parameterFilePath);
    std::error_code ec;
    if (!std::filesystem::exists(pathFromUtf8(path), ec)) return load;
    load.state = SideFileState::Broken;
    const auto text = readTextFile(path, MaxSideFileBytes);
    Json root;
    int errorLine = 0;
    if (!text) {
        load.message = "Die Zusatzdatei \"" + fileName(path) +
                       "\" kann nicht gelesen werden; Kanalnamen und Messungen fehlen.";
        return load;
    }
    if (!parseObject(*text, root, errorLine)) {
        load.message = "Die Zusatzdatei \"" + fileName(path) + "\" ist beschädigt" +
                       (errorLine > 0 ? " (Zeile " + std::to_string(errorLine) + ")" : "") +
                       " und wird nicht verwendet; Kanalnamen und Messungen fehlen.";
        return load;
    }
    load.state = SideFileState::Read;
    SideFile& data = load.data;
    data.original = *text;
    const auto channels = root.find("channels");
    if (channels != root.end() && channels->is_array()) {
        for (std::size_t c = 0; c < channels->size() && c < ChannelCount; ++c) {
            const Json& entry = (*channels)[c];
            if (!entry.is_object()) continue;
            data.channelNames[c] = stringAt(entry, "name");
            data.measurements[c] = stringAt(entry, "measurement");
        }
    }
    const Json overlay = objectAt(root, "overlay");
    data.overlay.normalise = boolAt(overlay, "normalise", data.overlay.normalise);
    data.overlay.predicted = boolAt(overlay, "predicted", data.overlay.predicted);
    return load;
}

bool saveSideFile(const std::string& parameterFilePath, const SideFile& data) {
    const std::string path = sideFilePath(parameterFilePath);
    Json root = Json::object();
    int errorLine = 0;
    if (!data.original.empty() && !parseObject(data.original, root, errorLine)) {
        root = Json::object();
    }
    // A side file that is no JSON (damaged, or written by hand) is kept aside.
    if (const auto existing = readTextFile(path, MaxSideFileBytes)) {
        Json ignored;
        if (!parseObject(*existing, ignored, errorLine) &&
            !writeTextFile(path + ".defekt", *existing)) {
            return false;
        }
    }
    Json& channels = root["channels"];
    if (!channels.is_array()) channels = Json::array();
    while (channels.size() < ChannelCount) channels.push_back(Json::object());
    for (int c = 0; c < ChannelCount; ++c) {
        Json& entry = channels[static_cast<std::size_t>(c)];
        if (!entry.is_object()) entry = Json::object();
        entry["name"] = data.channelNames[c];
        entry["measurement"] = data.measurements[c];
    }
    Json& overlay = root["overlay"];
    if (!overlay.is_object()) overlay = Json::object();
    overlay["normalise"] = data.overlay.normalise;
    overlay["predicted"] = data.overlay.predicted;
    // Text that is no UTF-8 (a name from an old file) is written with
    // replacement characters rather than refused.
    const std::string text = root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    return writeTextFile(path, text);
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
