#pragma once
// The complex responses over the whole grid: the grid is walked in blocks
// small enough to stay in the first-level cache, and within a block every
// section, every channel's finish and every sum is one loop over the points,
// so the compiler can vectorise it. Internal to the response layer;
// computeComplexResponses() is the public entry.

#include <array>

#include "model/ChannelRecord.h"
#include "response/ComplexResponse.h"
#include "response/ResponseKernel.h"

// `isa` as in channelResponseDb(); every variant gives the same bits.
void complexResponsesOf(const std::array<ChannelRecord, ChannelCount>& records,
                        const GridTerms& grid, ComplexResponses& responses,
                        KernelIsa isa = bestKernelIsa());
