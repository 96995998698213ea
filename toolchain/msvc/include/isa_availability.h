// Stands in for isa_availability.h of the Visual C++ runtime: the levels of
// __isa_available, which the start-up part sets (to the x86-64 baseline: the
// vectorized algorithms take their SSE2 paths).
#pragma once
enum __ISA_AVAILABILITY {
    __ISA_AVAILABLE_X86 = 0,
    __ISA_AVAILABLE_SSE2 = 1,
    __ISA_AVAILABLE_SSE42 = 2,
    __ISA_AVAILABLE_AVX = 3,
    __ISA_AVAILABLE_ENFSTRG = 4,
    __ISA_AVAILABLE_AVX2 = 5,
    __ISA_AVAILABLE_AVX512 = 6,
};
#ifdef __cplusplus
extern "C" {
#endif
extern int __isa_available;
#ifdef __cplusplus
}
#endif
