#pragma once
// Whether a serial driver kept the baud rate it was asked for. Drivers
// report success when they took any part of a change, and may round a rate
// to what their clock divides to; anything further off than 3 % means the
// rate was not taken, and the line would garble every byte.

#include <cstdint>

inline bool serialRateAccepted(std::uint32_t wanted, std::uint32_t actual) {
    const std::uint64_t diff = wanted > actual ? wanted - actual : actual - wanted;
    return actual != 0 && diff * 100 <= static_cast<std::uint64_t>(wanted) * 3;
}
