// Each fuzz target defines its entry with ZARV_FUZZ_TARGET. Built with
// libFuzzer it is the fuzzer's entry; built for the ordinary test suite, a
// small main replays the target's checked-in corpus through it.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
#define ZARV_FUZZ_TARGET extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)

// A failed invariant: stop at once, so the fuzzer keeps the input.
#define ZARV_FUZZ_CHECK(condition)                                                                 \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            __builtin_trap();                                                                    \
        }                                                                                        \
    } while (false)
