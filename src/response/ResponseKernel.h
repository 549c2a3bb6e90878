#pragma once
// The channel response over the whole grid, factor by factor: each factor is
// one loop over the 2000 points, so the compiler can vectorise it. Internal to
// the response layer; computeResponses() is the public entry.

#include <array>

#include "model/ChannelRecord.h"
#include "response/ResponseGrid.h"

// The grid points as doubles and their squares, shared by every channel.
struct GridTerms {
    alignas(64) std::array<double, ResponsePointCount> f;
    alignas(64) std::array<double, ResponsePointCount> f2;
};

const GridTerms& gridTerms();

// Builds of the loops for wider vector units, chosen at run time. Every
// variant gives the same bits: IEEE division and square root are exact to
// the last bit at any width, and contraction into fused multiply-adds is off.
enum class KernelIsa { Portable, Avx2, Avx512 };

bool kernelIsaAvailable(KernelIsa isa);
// The widest variant this processor runs.
KernelIsa bestKernelIsa();

// dB + level per grid point, bit for bit what channelMagnitude(),
// magnitudeToDb() and the level give point by point. `isa` must be available.
void channelResponseDb(const ChannelRecord& record, const GridTerms& grid,
                       std::array<float, ResponsePointCount>& db, KernelIsa isa = bestKernelIsa());
