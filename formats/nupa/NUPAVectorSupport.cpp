#include "formats/nupa/NUPAVectorSupport.h"

#include <atomic>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace NSQuillet {

namespace NSNUPA {

namespace {

std::atomic<bool> gAllowed{true};

bool ProcessorHasVectors() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    const bool lzcnt = __get_cpuid(0x80000001, &eax, &ebx, &ecx, &edx) && (ecx & bit_LZCNT);
    return lzcnt && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
#else
    return false;
#endif
}

}  // namespace

bool UseVectors() {
    static const bool kProcessorHasVectors = ProcessorHasVectors();
    return kProcessorHasVectors && gAllowed.load(std::memory_order_relaxed);
}

void AllowVectors(bool allowed) { gAllowed.store(allowed, std::memory_order_relaxed); }

}  // namespace NSNUPA

}  // namespace NSQuillet
