#pragma once
// The protocol between the program and the device. Every exchange opens with
// a one-byte command that the device acknowledges with 0x77, followed by the
// raw 624-byte WireImage (no length, checksum or terminator). The probe that
// finds the device is an echo of 0xCC followed by 0x00, answered by 0x01.
//
// A DeviceLink holds nothing but the port; create one whenever needed.
// Results are CommErrorCode values (CommOk = success).

#include <cstdint>

#include "device/CommError.h"
#include "device/WireImage.h"

class BytePort;

constexpr std::uint8_t SendCommandByte = 0xAA;
constexpr std::uint8_t ReceiveCommandByte = 0xBB;
constexpr std::uint8_t AckByte = 0x77;
constexpr std::uint8_t EchoRequestByte = 0xCC;
constexpr std::uint8_t IdentifyRequestByte = 0x00;
constexpr std::uint8_t IdentifyReplyByte = 0x01;

// A device that has acknowledged a receive starts its block within this
// long. One that stays silent would otherwise hold the read for its whole
// budget (500 + 500 x 624 ms, over five minutes); the receive then ends as
// one cut short. Between two bytes of the block the gap of 500 ms applies.
constexpr std::uint32_t BlockStartTimeoutMs = 2000;
// The longest pause between two bytes of a block (the port's own read rule).
constexpr std::uint32_t BlockGapTimeoutMs = 500;

// The last block attempted and the last block received, in the current
// directory, for the user's and the service technician's diagnosis.
constexpr const char* SendDumpFileName = "Son_Send.bin";
constexpr const char* ReceiveDumpFileName = "Son_Receive.bin";

class DeviceLink {
public:
    explicit DeviceLink(BytePort& port) : m_port(port) {}

    // Purges the port, sends `command` and expects the acknowledge within the
    // one-byte read budget (about 1 s). -2 not open, -4/-5 from the port,
    // -6 any other reply or none.
    CommErrorCode handshake(std::uint8_t command);

    // Dumps the block to "Son_Send.bin" (skipped if that cannot be written),
    // then the handshake 0xAA and the 624 bytes. Both block transfers report
    // their progress in bytes (userServices().progress). -4 also when the port took
    // fewer bytes than given. Success means the driver has the bytes, not
    // that they have all left the line (see SendSettleMs).
    CommErrorCode sendWireImage(const WireImage& wire);

    // The handshake 0xBB and the device's 624 bytes, the first of them
    // within BlockStartTimeoutMs. `destination` is written only when the
    // whole block arrived; a reply cut short or never begun is -5 and leaves
    // both the destination and "Son_Receive.bin" as they were. The dump is
    // skipped if it cannot be written.
    CommErrorCode receiveWireImage(WireImage& destination);

    // Purges the port, sends 0xCC and expects it echoed. -6 otherwise.
    CommErrorCode checkEcho();
    // checkEcho, then 0x00 and the device's identification 0x01. -6 otherwise.
    CommErrorCode probeDevice();

private:
    // The 624 bytes of a block after the handshake, written or read in
    // pieces with the progress after each.
    CommErrorCode transferBlock(std::uint8_t* block, bool sending);
    // Writes `request` and reads one reply byte; -6 unless it is `expected`.
    CommErrorCode requestReply(std::uint8_t request, std::uint8_t expected);

    BytePort& m_port;
};
