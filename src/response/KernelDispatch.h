#pragma once
// Runs a grid kernel in the widest build the processor has: the kernel's body
// is inlined whole into functions built for AVX2 and AVX-512 (the loops then
// vectorise at that width), and a portable build serves everywhere else.
// Internal to the response layer.

#include <utility>

#include "response/ResponseKernel.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define FILTARO_KERNEL_X86 1
#if defined(__clang__)
#define FILTARO_AVX512_TARGET "avx512f,avx512vl"
#else
// GCC otherwise keeps to 256-bit vectors even where 512 bits are available.
#define FILTARO_AVX512_TARGET "avx512f,avx512vl,prefer-vector-width=512"
#endif

template <auto Body, typename... Args>
[[gnu::target("avx2"), gnu::flatten]] void runKernelAvx2(Args&&... args) {
    Body(std::forward<Args>(args)...);
}

template <auto Body, typename... Args>
[[gnu::target(FILTARO_AVX512_TARGET), gnu::flatten]] void runKernelAvx512(Args&&... args) {
    Body(std::forward<Args>(args)...);
}
#endif

// Body(args...) in the build for `isa`; the portable build when the
// processor lacks it.
template <auto Body, typename... Args>
void runKernel(KernelIsa isa, Args&&... args) {
#ifdef FILTARO_KERNEL_X86
    if (kernelIsaAvailable(isa)) {
        if (isa == KernelIsa::Avx512) return runKernelAvx512<Body>(std::forward<Args>(args)...);
        if (isa == KernelIsa::Avx2) return runKernelAvx2<Body>(std::forward<Args>(args)...);
    }
#endif
    Body(std::forward<Args>(args)...);
}
