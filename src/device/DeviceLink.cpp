#include "device/DeviceLink.h"

#include "device/BytePort.h"
#include "platform/ReplaceFile.h"
#include "platform/UserServices.h"

// The dumps are diagnostics: a directory that cannot take them (read-only,
// full) must not stop a transfer, so a failure is ignored. Their names are
// the program's own, so a link someone put there is replaced, never written
// through.
static void writeDump(const char* fileName, const WireImage& wire) {
    (void)replaceOwnFile(fileName, wire.data(), wire.size());
}

// The block goes and comes in pieces so that the window can show how far it
// got: at 9600 bit/s the 624 bytes take 0.65 s, much longer on a slow line.
// The bytes on the line are the same; a piece that comes short ends the
// block as a short read of the whole block would.
static constexpr int BlockPiece = 48;
static_assert(WireImageSize % BlockPiece == 0);

CommErrorCode DeviceLink::transferBlock(std::uint8_t* block, bool sending) {
    const int total = static_cast<int>(WireImageSize);
    userServices().progress(ProgressUnit::Bytes, 0, total);
    for (int done = 0; done < total; done += BlockPiece) {
        int transferred = 0;
        // The first byte of the block may take BlockStartTimeoutMs; every
        // later one, also the first of a piece, keeps the 500 ms gap rule.
        const std::uint32_t firstByteMs = done == 0 ? BlockStartTimeoutMs : BlockGapTimeoutMs;
        const CommErrorCode result =
            sending ? m_port.write(block + done, BlockPiece, &transferred)
                    : m_port.readBlock(block + done, BlockPiece, firstByteMs, &transferred);
        if (result != CommOk) return result;
        if (transferred != BlockPiece) return sending ? ErrTransmit : ErrReceive;
        userServices().progress(ProgressUnit::Bytes, done + BlockPiece, total);
    }
    return CommOk;
}

CommErrorCode DeviceLink::requestReply(std::uint8_t request, std::uint8_t expected) {
    CommErrorCode result = m_port.write(&request, 1);
    if (result != CommOk) return result;
    // A read that times out succeeds with nothing in the buffer, so the reply
    // is preset to a value that no expected reply has.
    std::uint8_t reply = 0xFF;
    result = m_port.read(&reply, 1);
    if (result != CommOk) return result;
    return reply == expected ? CommOk : ErrHandshake;
}

CommErrorCode DeviceLink::handshake(std::uint8_t command) {
    if (!m_port.isOpen()) return ErrPortNotInitialized;
    // Stale bytes from an earlier exchange must never count as the acknowledge.
    m_port.purge();
    return requestReply(command, AckByte);
}

CommErrorCode DeviceLink::sendWireImage(const WireImage& wire) {
    writeDump(SendDumpFileName, wire);
    const CommErrorCode result = handshake(SendCommandByte);
    if (result != CommOk) return result;
    WireImage block = wire;
    return transferBlock(block.data(), true);
}

CommErrorCode DeviceLink::receiveWireImage(WireImage& destination) {
    CommErrorCode result = handshake(ReceiveCommandByte);
    if (result != CommOk) return result;
    WireImage received{};
    // The read gives up silently when the block does not begin in time or
    // pauses for 500 ms; a block cut short is no block.
    result = transferBlock(received.data(), false);
    if (result != CommOk) return result;
    destination = received;
    writeDump(ReceiveDumpFileName, destination);
    return CommOk;
}

CommErrorCode DeviceLink::checkEcho() {
    if (!m_port.isOpen()) return ErrPortNotInitialized;
    m_port.purge();
    return requestReply(EchoRequestByte, EchoRequestByte);
}

CommErrorCode DeviceLink::probeDevice() {
    const CommErrorCode result = checkEcho();
    if (result != CommOk) return result;
    return requestReply(IdentifyRequestByte, IdentifyReplyByte);
}
