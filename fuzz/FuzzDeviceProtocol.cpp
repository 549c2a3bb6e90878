// The device protocol over the in-memory port, with any byte stream from the
// device: a receive, a comparison, a send, a probe or a device search.
// Input: one byte choosing the exchange, three bytes naming the COM ports
// that hold a device (for the search; the other exchanges use the first),
// then the device's answers: for every byte the program sends, a count c
// and c bytes (c = 255: all that is left).
//
// Whatever the device sends, every exchange ends with one of its
// communication codes, within the time its time-outs allow (counted by the
// port: no more than 1 s for each reply byte and 2 s for a block to begin,
// so a receive takes at most 3 s and a search at most 255 probes of 2 s).
// A receive takes the block only when all 624 bytes came, exactly as the
// dump holds them, and otherwise leaves the settings and the last dump
// alone; a send puts the block on the line only after the acknowledge; a
// search records the port it found and no other.

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "FuzzSupport.h"
#include "device/DeviceCompare.h"
#include "device/DeviceLink.h"
#include "device/DeviceSearch.h"
#include "device/PresetTransfer.h"
#include "model/ParameterImage.h"
#include "platform/PrivateProfile.h"
#include "platform/SerialPortNames.h"
#include "simulator/SimulatedPort.h"
#include "storage/Ini.h"

namespace {

enum Exchange : std::uint8_t { Receive, Compare, Send, Probe, Search, ExchangeCount };

constexpr long long ReplyMs = 1000;  // a one-byte read with nothing there: 500 + 500 ms

std::string readRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The current directory is `folder` for the lifetime of the object.
class WorkingIn {
public:
    explicit WorkingIn(const ScratchFolder& folder) : m_before(std::filesystem::current_path()) {
        fuzzCheck(chdir(folder.path().c_str()) == 0, "into the scratch folder");
    }
    ~WorkingIn() { fuzzCheck(chdir(m_before.c_str()) == 0, "back from the scratch folder"); }
    WorkingIn(const WorkingIn&) = delete;
    WorkingIn& operator=(const WorkingIn&) = delete;

private:
    std::filesystem::path m_before;
};

bool isCode(CommErrorCode code, std::initializer_list<CommErrorCode> allowed) {
    return std::find(allowed.begin(), allowed.end(), code) != allowed.end();
}

// An image whose records differ from what any block decodes to in places.
ParameterImage baseImage() {
    ParameterImage image;
    applyDefaults(image);
    image.setSixChannels(0);
    image.setRedrawPending(0);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            image.setField(p, c, ChannelField::reserved, 0x5A5A + p * 8 + c);
            image.setField(p, c, ChannelField::delayTaps, 100000 + c);
        }
    }
    return image;
}

void checkReceive(CommErrorCode result, const ParameterImage& before, const ParameterImage& after,
                  const std::vector<std::uint8_t>& sent) {
    fuzzCheck(isCode(result, {CommOk, ErrHandshake, ErrReceive}), "receive: a defined code");
    fuzzCheck(sent == std::vector<std::uint8_t>{ReceiveCommandByte}, "receive: one command byte");
    const std::string dump = readRaw(ReceiveDumpFileName);
    if (result != CommOk) {
        ParameterImage expected = before;
        expected.setRedrawPending(1);
        fuzzCheck(after == expected, "failed receive: settings kept");
        fuzzCheck(dump == "earlier", "failed receive: last dump kept");
        return;
    }
    fuzzCheck(dump.size() == WireImageSize, "receive: the whole block dumped");
    WireImage wire{};
    std::copy(dump.begin(), dump.end(), wire.begin());
    ParameterImage expected = before;
    takeReceivedBlock(wire, expected);
    fuzzCheck(after == expected, "receive: the dumped block taken in");
}

void checkSend(CommErrorCode result, const ParameterImage& image,
               const std::vector<std::uint8_t>& sent) {
    fuzzCheck(isCode(result, {CommOk, ErrHandshake}), "send: a defined code");
    const WireImage wire = encodeWireImage(image);
    std::vector<std::uint8_t> expected{SendCommandByte};
    if (result == CommOk) expected.insert(expected.end(), wire.begin(), wire.end());
    fuzzCheck(sent == expected, "send: the block only after the acknowledge");
    fuzzCheck(readRaw(SendDumpFileName) == std::string(wire.begin(), wire.end()),
              "send: the block dumped first");
}

void checkProbe(CommErrorCode result, const std::vector<std::uint8_t>& sent) {
    fuzzCheck(isCode(result, {CommOk, ErrHandshake}), "probe: a defined code");
    const std::vector<std::uint8_t> echo{EchoRequestByte};
    const std::vector<std::uint8_t> both{EchoRequestByte, IdentifyRequestByte};
    fuzzCheck(sent == echo || sent == both, "probe: echo request, then identification");
    fuzzCheck(result != CommOk || sent == both, "probe: passed only after both");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto exchange = static_cast<Exchange>(in.take<std::uint8_t>() % ExchangeCount);
    std::set<int> ports;
    for (int i = 0; i < 3; ++i) ports.insert(in.take<std::uint8_t>() % SearchLastPort + 1);
    const int first = *ports.begin();

    // The dumps and FILTARO.INI land in the current directory; the fuzzer's
    // own paths may be relative to the one it had.
    const ScratchFolder folder;
    const WorkingIn workingIn(folder);
    { std::ofstream(ReceiveDumpFileName, std::ios::binary) << "earlier"; }

    SimulatedPort line;
    const auto answer = [&in](std::uint8_t) {
        const auto count = in.take<std::uint8_t>();
        const std::string_view bytes = count == 255 ? in.rest() : in.takeBytes(count);
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    };
    for (int n : ports) line.attachScriptedDevice(n, answer);

    const ParameterImage before = baseImage();
    ParameterImage image = before;
    long long limitMs = 0;
    if (exchange == Search) {
        const int found = searchDevice(line);
        fuzzCheck(found == 0 || ports.count(found) == 1, "search: a port with a device");
        const auto stored =
            PrivateProfile::read(IniFileName).value(IniSectionCommunication, IniKeyPort);
        fuzzCheck(found == 0 ? !stored : stored == "COM" + std::to_string(found),
                  "search: the port found recorded, no other");
        for (int n : ports) {
            if (found == 0 || n <= found)
                checkProbe(n == found ? CommOk : ErrHandshake, line.received(n));
        }
        limitMs = static_cast<long long>(ports.size()) * 2 * ReplyMs;
    } else {
        fuzzCheck(line.open(devicePathForPort("COM" + std::to_string(first)), 9600) == CommOk,
                  "the device's port opens");
        if (exchange == Receive) {
            checkReceive(receiveAllPresets(image, line), before, image, line.received(first));
            limitMs = ReplyMs + BlockStartTimeoutMs;
        } else if (exchange == Compare) {
            // What a receive would make of the settings, or nothing.
            DeviceComparison comparison;
            comparison.device.bytes().fill(0xEE);
            const CommErrorCode result = compareWithDevice(image, line, comparison);
            ParameterImage received = before;
            if (result != CommOk) {
                fuzzCheck(comparison.device.bytes()[0] == 0xEE, "failed compare: no result");
                received.setRedrawPending(1);
            } else {
                received = comparison.device;
                fuzzCheck(comparison.differences == compareSettings(before, received),
                          "compare: the differences of the two");
            }
            checkReceive(result, before, received, line.received(first));
            fuzzCheck(image == before, "compare: the settings unchanged");
            limitMs = ReplyMs + BlockStartTimeoutMs;
        } else if (exchange == Send) {
            checkSend(sendAllPresets(image, line, SendPause::None), image, line.received(first));
            limitMs = ReplyMs;
        } else {
            checkProbe(DeviceLink(line).probeDevice(), line.received(first));
            limitMs = 2 * ReplyMs;
        }
    }
    fuzzCheck(line.elapsedMs() <= limitMs, "within the time-outs");
    return 0;
}
