#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tomlet::fuzz {

// One parser's entry for libFuzzer: takes any bytes, returns 0. Only a crash or a sanitizer
// report is a finding; input the parser refuses is an ordinary outcome.
using FuzzEntry = int (*)(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
    std::string_view Name;  // also the folder of its corpus and the suffix of its executable
    FuzzEntry Run;
};

std::span<const FuzzTarget> FuzzTargets();

}  // namespace tomlet::fuzz
