// libFuzzer's entry for the target named by TOMLET_FUZZ_TARGET.
#include <cstdlib>
#include <string_view>

#include "fuzz_targets.h"

namespace {

tomlet::fuzz::FuzzEntry Entry() {
    for (const auto& target : tomlet::fuzz::FuzzTargets())
        if (target.Name == std::string_view(TOMLET_FUZZ_TARGET))
            return target.Run;
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tomlet::fuzz::FuzzEntry entry = Entry();
    return entry(data, size);
}
