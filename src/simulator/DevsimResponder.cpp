#include "simulator/DevsimResponder.h"

#include <algorithm>

DevsimResponder::DevsimResponder(const DevsimFaults& faults, const WireImage& memory)
    : m_faults(faults), m_memory(memory) {}

std::vector<std::uint8_t> DevsimResponder::feed(std::uint8_t byte) {
    std::vector<std::uint8_t> out;
    if (m_blockFill >= 0) {
        m_incoming[static_cast<std::size_t>(m_blockFill++)] = byte;
        if (m_blockFill == static_cast<int>(WireImageSize)) {
            if (m_faults.corruptByte >= 0) {
                ++m_incoming[static_cast<std::size_t>(m_faults.corruptByte) % WireImageSize];
            }
            m_memory = m_incoming;
            m_blockFill = -1;
            m_blockStored = true;
            appendStale(out);
        }
        return out;
    }
    if (m_faults.silent) return out;

    const bool identRequested = m_echoed && byte == IdentifyRequestByte;
    m_echoed = false;
    if (identRequested) {
        if (m_faults.noIdent) return out;
        out.push_back(m_faults.wrongIdent ? 0x02 : IdentifyReplyByte);
        appendStale(out);
        return out;
    }
    switch (byte) {
        case SendCommandByte:
            if (m_faults.wrongAck) {
                out.push_back(byte);
                break;
            }
            out.push_back(AckByte);
            m_blockFill = 0;
            break;
        case ReceiveCommandByte: {
            if (m_faults.wrongAck) {
                out.push_back(byte);
                break;
            }
            out.push_back(AckByte);
            const std::size_t n = m_faults.shortReply >= 0
                                      ? std::min<std::size_t>(m_faults.shortReply, WireImageSize)
                                      : WireImageSize;
            out.insert(out.end(), m_memory.begin(), m_memory.begin() + static_cast<long>(n));
            appendStale(out);
            break;
        }
        case EchoRequestByte:
            out.push_back(EchoRequestByte);
            m_echoed = true;
            break;
        default:
            break;
    }
    return out;
}

void DevsimResponder::abandonBlock() {
    m_blockFill = -1;
}

bool DevsimResponder::takeBlockStored() {
    const bool stored = m_blockStored;
    m_blockStored = false;
    return stored;
}

std::vector<std::uint8_t> DevsimResponder::staleBytes() const {
    // Each of them would pass for an answer if nobody discarded it.
    static constexpr std::uint8_t Pattern[] = {AckByte, EchoRequestByte, IdentifyReplyByte};
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < m_faults.staleBytes; ++i) bytes.push_back(Pattern[i % 3]);
    return bytes;
}

void DevsimResponder::appendStale(std::vector<std::uint8_t>& out) const {
    const std::vector<std::uint8_t> stale = staleBytes();
    out.insert(out.end(), stale.begin(), stale.end());
}
