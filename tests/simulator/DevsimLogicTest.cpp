#include <gtest/gtest.h>

#include <numeric>

#include "simulator/DevsimMemory.h"
#include "simulator/DevsimOptions.h"
#include "simulator/DevsimResponder.h"
#include "support/ScratchDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes feedAll(DevsimResponder& responder, const Bytes& in) {
    Bytes out;
    for (std::uint8_t byte : in) {
        const Bytes reply = responder.feed(byte);
        out.insert(out.end(), reply.begin(), reply.end());
    }
    return out;
}

WireImage countingBlock() {
    WireImage block;
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
    return block;
}

std::optional<DevsimOptions> parse(std::vector<std::string> args, std::string* errorOut = nullptr) {
    std::string error;
    std::optional<DevsimOptions> options = parseDevsimArgs(args, error);
    if (errorOut) *errorOut = error;
    return options;
}

}  // namespace

TEST(DevsimOptions, ParsesEveryOptionAndFault) {
    std::optional<DevsimOptions> o = parse({"--link", "/tmp/p/COM3", "--memory", "m.bin", "--baud",
                                            "9600", "--fault", "short=100", "--fault", "stale=5",
                                            "--fault", "wrong-ident", "--fault", "corrupt=623"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->linkPath, "/tmp/p/COM3");
    EXPECT_EQ(o->memoryFile, "m.bin");
    EXPECT_EQ(o->baud, 9600);
    EXPECT_EQ(o->faults.shortReply, 100);
    EXPECT_EQ(o->faults.staleBytes, 5);
    EXPECT_TRUE(o->faults.wrongIdent);
    EXPECT_EQ(o->faults.corruptByte, 623);
    EXPECT_FALSE(o->faults.silent);

    for (const char* fault : {"silent", "wrong-ack", "no-ident"}) {
        EXPECT_TRUE(parse({"--fault", fault})) << fault;
    }
    std::optional<DevsimOptions> plain = parse({});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->baud, 0);
    EXPECT_EQ(plain->faults.shortReply, -1);
    EXPECT_EQ(plain->faults.corruptByte, -1);
}

TEST(DevsimOptions, RefusesWhatItCannotMeanWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {{"--baud"},
                                                       {"--baud", "0"},
                                                       {"--baud", "96x"},
                                                       {"--fault", "loud"},
                                                       {"--fault", "short"},
                                                       {"--fault", "short=624"},
                                                       {"--fault", "stale=-1"},
                                                       {"--fault", "corrupt=624"},
                                                       {"--fault", "corrupt"},
                                                       {"--fault", "silent=2"},
                                                       {"--link", ""},
                                                       {"--verbose"},
                                                       {"COM3"}};
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parse(args, &error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
    std::string error = "x";
    EXPECT_FALSE(parse({"--help"}, &error));
    EXPECT_TRUE(error.empty());
    const auto version = parseDevsimArgs({"--link", "x", "--version"}, error);
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->printVersion);
}

TEST(DevsimResponder, AnswersCommandsAndProbeLikeTheDevice) {
    const WireImage memory = countingBlock();
    DevsimResponder device({}, memory);

    EXPECT_EQ(feedAll(device, {0xCC}), Bytes{0xCC});
    EXPECT_EQ(feedAll(device, {0x00}), Bytes{0x01});
    EXPECT_EQ(feedAll(device, {0x00}), Bytes{});  // no echo before it
    EXPECT_EQ(feedAll(device, {0xCC, 0x55, 0x00}), Bytes{0xCC});

    Bytes reply = feedAll(device, {0xBB});
    ASSERT_EQ(reply.size(), 625u);
    EXPECT_EQ(reply[0], 0x77);
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), reply.begin() + 1));

    WireImage block;
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(255 - i);
    EXPECT_EQ(feedAll(device, {0xAA}), Bytes{0x77});
    EXPECT_TRUE(device.receivingBlock());
    // Inside a block, command bytes are data.
    EXPECT_EQ(feedAll(device, Bytes(block.begin(), block.end())), Bytes{});
    EXPECT_FALSE(device.receivingBlock());
    EXPECT_TRUE(device.takeBlockStored());
    EXPECT_FALSE(device.takeBlockStored());
    EXPECT_EQ(device.memory(), block);
    EXPECT_EQ(feedAll(device, {0x12, 0x77}), Bytes{});
}

TEST(DevsimResponder, AbandonedBlockLeavesTheMemoryAlone) {
    const WireImage memory = countingBlock();
    DevsimResponder device({}, memory);
    feedAll(device, {0xAA});
    feedAll(device, Bytes(300, 0xEE));
    device.abandonBlock();
    EXPECT_FALSE(device.takeBlockStored());
    EXPECT_EQ(device.memory(), memory);
    EXPECT_EQ(feedAll(device, {0xCC}), Bytes{0xCC});
}

TEST(DevsimResponder, PlaysEachFault) {
    const WireImage memory = countingBlock();
    DevsimFaults silent;
    silent.silent = true;
    DevsimResponder quiet(silent, memory);
    EXPECT_EQ(feedAll(quiet, {0xAA, 0xBB, 0xCC, 0x00}), Bytes{});

    DevsimFaults wrongAck;
    wrongAck.wrongAck = true;
    DevsimResponder echoing(wrongAck, memory);
    EXPECT_EQ(feedAll(echoing, {0xBB}), Bytes{0xBB});
    EXPECT_EQ(feedAll(echoing, {0xAA}), Bytes{0xAA});
    EXPECT_FALSE(echoing.receivingBlock());

    DevsimFaults shortReply;
    shortReply.shortReply = 100;
    DevsimResponder shortDevice(shortReply, memory);
    EXPECT_EQ(feedAll(shortDevice, {0xBB}).size(), 101u);

    DevsimFaults noIdent;
    noIdent.noIdent = true;
    DevsimResponder mute(noIdent, memory);
    EXPECT_EQ(feedAll(mute, {0xCC, 0x00}), Bytes{0xCC});

    DevsimFaults wrongIdent;
    wrongIdent.wrongIdent = true;
    DevsimResponder stranger(wrongIdent, memory);
    EXPECT_EQ(feedAll(stranger, {0xCC, 0x00}), (Bytes{0xCC, 0x02}));

    DevsimFaults corrupt;
    corrupt.corruptByte = 5;
    DevsimResponder careless(corrupt, memory);
    WireImage block;
    block.fill(0xFF);
    feedAll(careless, {0xAA});
    feedAll(careless, Bytes(block.begin(), block.end()));
    block[5] = 0x00;  // one higher, wrapping
    EXPECT_EQ(careless.memory(), block);
}

TEST(DevsimResponder, StaleBytesFollowEachCompleteAnswerButNeverTheEcho) {
    DevsimFaults stale;
    stale.staleBytes = 4;
    DevsimResponder device(stale, countingBlock());
    const Bytes staleBytes = device.staleBytes();
    EXPECT_EQ(staleBytes, (Bytes{0x77, 0xCC, 0x01, 0x77}));

    EXPECT_EQ(feedAll(device, {0xCC}), Bytes{0xCC});
    EXPECT_EQ(feedAll(device, {0x00}), (Bytes{0x01, 0x77, 0xCC, 0x01, 0x77}));
    EXPECT_EQ(feedAll(device, {0xBB}).size(), 1u + 624u + 4u);
    EXPECT_EQ(feedAll(device, {0xAA}), Bytes{0x77});
    EXPECT_EQ(feedAll(device, Bytes(624, 0)), staleBytes);
}

TEST(DevsimMemory, MissingFileIsTheDefaultImageAndBlocksRoundTrip) {
    ScratchDir dir;
    const std::string path = dir.file("memory.bin");
    WireImage memory{};
    std::string error;
    ASSERT_TRUE(loadDevsimMemory(path, memory, error));
    EXPECT_EQ(memory, defaultWireImage());

    const WireImage block = countingBlock();
    ASSERT_TRUE(saveDevsimMemory(path, block));
    ASSERT_TRUE(loadDevsimMemory(path, memory, error));
    EXPECT_EQ(memory, block);
}

TEST(DevsimMemory, WrongSizedOrUnreadableFileIsRefusedAndKept) {
    ScratchDir dir;
    const std::string path = dir.file("memory.bin");
    writeFileBytes(path, std::string(623, 'x'));
    WireImage memory = countingBlock();
    std::string error;
    EXPECT_FALSE(loadDevsimMemory(path, memory, error));
    EXPECT_EQ(error, path + ": Datei konnte nicht geöffnet werden (623 Bytes statt 624).");
    EXPECT_EQ(memory, countingBlock());
    EXPECT_EQ(readFileBytes(path), std::string(623, 'x'));

    error.clear();
    EXPECT_FALSE(loadDevsimMemory(dir.path().string(), memory, error));  // a directory
    EXPECT_FALSE(error.empty());

    EXPECT_FALSE(saveDevsimMemory(dir.file("no/such/dir/memory.bin"), memory));
}
