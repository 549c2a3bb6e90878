// The channel response of any record: 26 fields of any value.
// Input: the 26 int32 fields of a ChannelRecord (little-endian), then one
// byte that picks the vector build to compare (bit 0) and which grid points
// are also computed point by point.
//
// Every vector build of the whole-grid path gives the bits of the portable
// one and of the formulas evaluated point by point. The model defines a dB
// value for every point (a product of zero or NaN reads as 0 dB plus the
// level), so no point is NaN or minus infinity; plus infinity appears only
// where the product itself overflowed to infinity.

#include <bit>
#include <cmath>

#include "FuzzSupport.h"
#include "response/ChannelResponse.h"
#include "response/EqResponse.h"
#include "response/ResponseKernel.h"

namespace {

// Point-by-point checks are the slow part; a stride keeps a run at thousands
// of records a second while every point is still reached over the inputs.
constexpr int PointStride = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::array<std::int32_t, ChannelRecordFieldCount> fields{};
    for (auto& f : fields) f = in.take<std::int32_t>();
    const ChannelRecord record = ChannelRecord::fromFields(fields);
    const auto pick = in.take<std::uint8_t>();
    const int firstPoint = pick / 2 % PointStride;

    const GridTerms& grid = gridTerms();
    std::array<float, ResponsePointCount> portable{};
    channelResponseDb(record, grid, portable, KernelIsa::Portable);
    // One vector build per input (the kernels dominate the time of a run).
    const KernelIsa wideIsa = (pick & 1) != 0 ? KernelIsa::Avx512 : KernelIsa::Avx2;
    if (kernelIsaAvailable(wideIsa)) {
        std::array<float, ResponsePointCount> wide{};
        channelResponseDb(record, grid, wide, wideIsa);
        for (int j = 0; j < ResponsePointCount; ++j) {
            fuzzCheck(
                std::bit_cast<std::uint32_t>(wide[j]) == std::bit_cast<std::uint32_t>(portable[j]),
                "vector build gives the portable bits");
        }
    }
    for (int j = 0; j < ResponsePointCount; ++j) {
        fuzzCheck(!std::isnan(portable[j]) && portable[j] != -INFINITY, "a defined dB value");
    }
    for (int j = firstPoint; j < ResponsePointCount; j += PointStride) {
        const double magnitude = channelMagnitude(grid.f[j], record);
        const float expected = static_cast<float>(magnitudeToDb(magnitude) + record.level);
        fuzzCheck(
            std::bit_cast<std::uint32_t>(portable[j]) == std::bit_cast<std::uint32_t>(expected),
            "whole-grid path gives the point-by-point bits");
        fuzzCheck(portable[j] != INFINITY || magnitude == INFINITY,
                  "infinite only where the product is");
    }

    ChannelResponses responses{};
    responses[0].db = portable;
    const int headroom = checkHeadroom(responses);
    fuzzCheck(headroom == 0 || headroom == -1, "headroom result");
    return 0;
}
