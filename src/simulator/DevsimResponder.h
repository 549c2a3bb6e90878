#pragma once
// What the device answers, byte by byte, without any I/O: the simulator feeds
// it what arrives on the line and sends what it returns.
//
//   0xAA -> 0x77, then the next 624 bytes become the memory block (with one
//          byte changed under the corrupt fault)
//   0xBB -> 0x77 and the 624-byte memory block
//   0xCC -> 0xCC; a following 0x00 -> 0x01
// Any other byte outside a block is ignored.

#include <cstdint>
#include <vector>

#include "device/DeviceLink.h"
#include "device/WireImage.h"
#include "simulator/DevsimOptions.h"

class DevsimResponder {
public:
    // A partly received block is dropped after this long without a byte.
    static constexpr int BlockGapMs = 1000;

    DevsimResponder(const DevsimFaults& faults, const WireImage& memory);

    // The bytes to send in answer to `byte` (often none).
    std::vector<std::uint8_t> feed(std::uint8_t byte);
    // The sender stopped part-way through a block: forget what came of it.
    void abandonBlock();

    bool receivingBlock() const { return m_blockFill >= 0; }
    const WireImage& memory() const { return m_memory; }
    // True once after each complete block received (the memory changed).
    bool takeBlockStored();
    // The reply-like bytes the stale fault leaves on the line (empty without it).
    std::vector<std::uint8_t> staleBytes() const;

private:
    void appendStale(std::vector<std::uint8_t>& out) const;

    DevsimFaults m_faults;
    WireImage m_memory;
    WireImage m_incoming{};
    int m_blockFill = -1;  // bytes of an incoming block so far; -1 outside one
    bool m_echoed = false;
    bool m_blockStored = false;
};
