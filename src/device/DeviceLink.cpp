#include "device/DeviceLink.h"

#include "device/BytePort.h"
#include "platform/ReplaceFile.h"

// The dumps are diagnostics: a directory that cannot take them (read-only,
// full) must not stop a transfer, so a failure is ignored.
static void writeDump(const char* fileName, const WireImage& wire) {
    (void)replaceFileContents(fileName, wire.data(), wire.size());
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
    CommErrorCode result = handshake(SendCommandByte);
    if (result != CommOk) return result;
    int transferred = 0;
    const int count = static_cast<int>(wire.size());
    result = m_port.write(wire.data(), count, &transferred);
    if (result != CommOk) return result;
    return transferred == count ? CommOk : ErrTransmit;
}

CommErrorCode DeviceLink::receiveWireImage(WireImage& destination) {
    CommErrorCode result = handshake(ReceiveCommandByte);
    if (result != CommOk) return result;
    WireImage received{};
    int transferred = 0;
    const int count = static_cast<int>(received.size());
    result = m_port.readBlock(received.data(), count, BlockStartTimeoutMs, &transferred);
    if (result != CommOk) return result;
    // The read gives up silently when the block does not begin in time or
    // pauses for 500 ms; a block cut short is no block.
    if (transferred != count) return ErrReceive;
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
