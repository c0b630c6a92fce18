#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/records.h"

namespace tomlet::testing {

// Builds project file bytes field by field, as the format lays them out.
class Bytes final {
public:
    Bytes& U8(std::uint8_t value) {
        m_bytes.push_back(static_cast<char>(value));
        return *this;
    }
    Bytes& I32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            U8(static_cast<std::uint8_t>(bits >> shift));
        return *this;
    }
    Bytes& Str(std::string_view text) {
        U8(static_cast<std::uint8_t>(text.size())).U8(static_cast<std::uint8_t>(text.size() >> 8));
        m_bytes += text;
        return U8(0);
    }
    // Signature, versions and properties of an empty project (500 ms, absolute paths).
    Bytes& Header(std::int32_t count, std::uint8_t first = 0, std::uint8_t second = 2) {
        Str("Tomlet").U8(first).U8(second);
        Str("").Str("").Str("").Str("").I32(500).U8(1).Str("");
        return I32(count);
    }
    Bytes& Entry(std::string_view caption, std::int32_t level, std::int32_t type = otVirtualFolder,
                 std::int32_t action = oaNoAction) {
        Str(caption).Str("").I32(type).I32(action).Str("").Str("").Str("");
        return I32(level);
    }
    const std::string& Get() const { return m_bytes; }

private:
    std::string m_bytes;
};

// A project whose objects are nested `levels` deep: each the only child of the one before.
inline std::string NestedProjectBytes(int levels) {
    Bytes bytes;
    bytes.Header(levels);
    for (int level = 0; level < levels; ++level)
        bytes.Entry("level " + std::to_string(level), level, otFolder, oaOpen);
    return bytes.Get();
}

}  // namespace tomlet::testing
