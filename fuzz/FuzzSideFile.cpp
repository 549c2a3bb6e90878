// The side file: any bytes as NAME.filtaro.json beside a parameter file.
//
// Reading never fails on them, it reads the file or refuses it with a
// message. A file that is read goes through a save with other names,
// measurement lists and overlay options: they read back as written, and every
// key this program does not know survives with its value, at every level.
// A file that is refused is left byte for byte by a save with nothing to
// keep, and set aside byte for byte as NAME.filtaro.json.defekt by one that
// has something.

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "FuzzSupport.h"
#include "storage/SideFile.h"

namespace {

using Json = nlohmann::json;

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    fuzzCheck(static_cast<bool>(out), "input written");
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every key of `before` but `known` has the same value in `after`.
void checkUnknownKeysKept(const Json& before, const Json& after,
                          std::initializer_list<const char*> known) {
    fuzzCheck(after.is_object(), "still an object");
    for (const auto& [key, value] : before.items()) {
        bool isKnown = false;
        for (const char* k : known) isKnown = isKnown || key == k;
        if (isKnown) continue;
        const auto kept = after.find(key);
        fuzzCheck(kept != after.end() && *kept == value, "an unknown key keeps its value");
    }
}

void checkKept(const Json& before, const Json& after) {
    checkUnknownKeysKept(before, after, {"channels", "overlay"});
    const auto channels = before.find("channels");
    if (channels != before.end() && channels->is_array()) {
        const Json& written = after.at("channels");
        fuzzCheck(written.size() >= channels->size(), "no channel entry dropped");
        for (std::size_t i = 0; i < channels->size(); ++i) {
            const Json& entry = (*channels)[i];
            if (i >= ChannelCount) {
                fuzzCheck(written[i] == entry, "entries beyond the sixth stay as they are");
            } else if (entry.is_object()) {
                checkUnknownKeysKept(entry, written[i], {"name", "measurement", "measurements"});
            }
        }
    }
    const auto overlay = before.find("overlay");
    if (overlay != before.end() && overlay->is_object()) {
        checkUnknownKeysKept(*overlay, after.at("overlay"),
                             {"normalise", "shared_offset", "predicted", "averaging", "smoothing"});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ScratchFolder dir;
    const std::string dat = dir.file("Boxen.dat");
    const std::string side = sideFilePath(dat);
    const std::string text(reinterpret_cast<const char*>(data), size);
    writeBytes(side, text);

    const SideFileLoad load = loadSideFile(dat);
    SideFile changed = load.data;
    changed.channelNames = {"Bass \"links\"", "", "Höhe ✓", "Mitte", "a\\b", "Sub"};
    changed.measurements[1] = {"mess/tief.txt"};
    changed.measurements[4] = {"/tmp/hoch.frd", "sitz 2.txt", "/tmp/hoch.frd"};
    changed.measurements[5].clear();
    changed.overlay.normalise = !changed.overlay.normalise;
    changed.overlay.sharedOffset = !changed.overlay.sharedOffset;
    changed.overlay.predicted = !changed.overlay.predicted;
    changed.overlay.averaging =
        changed.overlay.averaging == Averaging::Vector ? Averaging::Db : Averaging::Vector;
    changed.overlay.smoothing = changed.overlay.smoothing == 3 ? 0 : 3;

    if (load.state != SideFileState::Read) {
        fuzzCheck(load.state == SideFileState::Broken && !load.message.empty(),
                  "refused with a message");
        fuzzCheck(saveSideFile(dat, load.data), "nothing to keep: nothing to write");
        fuzzCheck(readBytes(side) == text, "left as it was");
        fuzzCheck(saveSideFile(dat, changed), "saved after setting the file aside");
        fuzzCheck(readBytes(side + ".defekt") == text, "set aside byte for byte");
    } else {
        fuzzCheck(load.data.original == text, "the text as read");
        fuzzCheck(saveSideFile(dat, changed), "saved");
    }
    const SideFileLoad back = loadSideFile(dat);
    fuzzCheck(back.state == SideFileState::Read, "what was written reads");
    fuzzCheck(back.data.channelNames == changed.channelNames &&
                  back.data.measurements == changed.measurements &&
                  back.data.overlay == changed.overlay,
              "names, measurements and options read back as written");
    if (load.state == SideFileState::Read) {
        checkKept(Json::parse(text), Json::parse(back.data.original));
    }
    return 0;
}
