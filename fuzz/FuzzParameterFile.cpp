// The parameter file load and save: any file content, saved through any of
// the shapes a target can have (new, existing, hard-linked, behind symbolic
// links that may lead nowhere yet, read-only, a name of 255 bytes).
// Input: one byte choosing the target's shape, then the file to load.
//
// A load takes exactly the files of 2784 bytes, byte for byte, and leaves
// the image untouched otherwise; whatever it took, the image's accessors
// and the wire encoding are safe for its values. The save delivers the
// image's bytes to the file the path names, keeps the target's links, and
// leaves nothing else behind. Files live in a scratch folder, on tmpfs when
// there is one, so that a run is thousands of loads and saves a second.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "storage/ParameterFile.h"

namespace fs = std::filesystem;

namespace {

void writeRaw(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An image in which every byte differs from its neighbours.
ParameterImage patterned() {
    ParameterImage image;
    for (std::size_t i = 0; i < ParameterImageSize; ++i) {
        image.bytes()[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return image;
}

// Reads everything a view, the plot and a send read of an image.
void useImage(const ParameterImage& image) {
    (void)image.workingDirectory();
    const int p = image.activePreset();
    for (int c = -1; c <= ChannelCount; ++c) {
        (void)image.channelShown(c);
        (void)image.record(p, c);
        (void)image.field(p, c, image.tabMarker());
    }
    (void)encodeWireImage(image);
}

enum Shape { New, Existing, HardLinked, Linked, Dangling, Chain, ReadOnly, LongName, ShapeCount };

// Sets up the target; returns the path to save to and the file that must
// receive the content.
std::pair<std::string, std::string> setUp(const ScratchFolder& d, Shape shape) {
    const std::string longName(255, 'n');
    switch (shape) {
        case New:
            return {d.file("a.dat"), d.file("a.dat")};
        case Existing:
            writeRaw(d.file("a.dat"), "old");
            return {d.file("a.dat"), d.file("a.dat")};
        case HardLinked:
            writeRaw(d.file("a.dat"), "old");
            fs::create_hard_link(d.file("a.dat"), d.file("b.dat"));
            return {d.file("a.dat"), d.file("b.dat")};
        case Linked:
            writeRaw(d.file("a.dat"), "old");
            fs::create_symlink("a.dat", d.file("link.dat"));
            return {d.file("link.dat"), d.file("a.dat")};
        case Dangling:
            fs::create_symlink("a.dat", d.file("link.dat"));
            return {d.file("link.dat"), d.file("a.dat")};
        case Chain:
            fs::create_directory(d.file("sub"));
            fs::create_symlink("sub/second", d.file("first"));
            fs::create_symlink("../a.dat", d.file("sub/second"));
            return {d.file("first"), d.file("a.dat")};
        case ReadOnly:
            writeRaw(d.file("a.dat"), "old");
            chmod(d.file("a.dat").c_str(), 0444);
            return {d.file("a.dat"), d.file("a.dat")};
        case LongName:
        case ShapeCount:
            break;
    }
    return {d.file(longName), d.file(longName)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto shape = static_cast<Shape>(in.take<std::uint8_t>() % ShapeCount);
    const std::string_view file = in.rest();
    const ScratchFolder d;

    writeRaw(d.file("in.dat"), file);
    const ParameterImage before = patterned();
    ParameterImage image = before;
    const int loaded = loadParameterFile(image, d.file("in.dat"));
    if (file.size() == ParameterFileSize) {
        fuzzCheck(loaded == 1 && std::memcmp(file.data(), image.bytes().data(), file.size()) == 0,
                  "a file of 2784 bytes loads byte for byte");
    } else {
        fuzzCheck(loaded == 0 && image == before, "any other file leaves the image untouched");
    }
    useImage(image);
    fs::remove(d.file("in.dat"));

    const auto [path, target] = setUp(d, shape);
    const bool readOnly = shape == ReadOnly;
    const int saved = saveParameterFile(image, path);
    // Only the superuser may write a read-only file.
    fuzzCheck((saved == 0) == (!readOnly || geteuid() == 0), "the save succeeds");
    if (saved != 0) {
        fuzzCheck(readRaw(target) == "old", "a refused save leaves the file");
        return 0;
    }
    const std::string bytes(image.bytes().begin(), image.bytes().end());
    fuzzCheck(readRaw(target) == bytes, "the file holds the image");
    if (shape == HardLinked) fuzzCheck(readRaw(d.file("a.dat")) == bytes, "both names see it");
    if (shape == Linked || shape == Dangling) {
        fuzzCheck(fs::is_symlink(d.file("link.dat")), "the link stays");
    }
    if (shape == Chain) {
        fuzzCheck(fs::is_symlink(d.file("first")) && fs::is_symlink(d.file("sub/second")),
                  "the links stay");
    }
    for (const auto& entry : fs::recursive_directory_iterator(d.path())) {
        fuzzCheck(entry.path().filename().string().rfind(".filtaro-", 0) != 0,
                  "no temporary file left");
    }
    ParameterImage again;
    fuzzCheck(loadParameterFile(again, path) == 1 && again == image, "the saved file loads back");
    return 0;
}
