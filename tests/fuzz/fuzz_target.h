#pragma once

// The libFuzzer entry point every target in this folder defines. The same
// function is linked either into a libFuzzer binary (clang, -fsanitize=fuzzer)
// or into replay_main.cpp, which feeds it the stored inputs once each.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A broken invariant is a finding: abort so both libFuzzer and the replay
// driver report the input.
#define FUZZ_CHECK(cond)                                                                 \
    do {                                                                                 \
        if (!(cond)) mekuri::fuzz::fail(#cond, __FILE__, __LINE__);                      \
    } while (0)

namespace mekuri::fuzz {
[[noreturn]] void fail(const char* what, const char* file, int line);
}
