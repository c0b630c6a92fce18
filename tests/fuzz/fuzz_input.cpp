#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/native_path.h"
#include "support/temp_folder.h"

namespace tomlet::fuzz {

namespace {

const testing::TempFolder& Scratch() {
    static const testing::TempFolder scratch;
    return scratch;
}

}  // namespace

std::uint8_t FuzzInput::Byte() {
    if (m_rest.empty())
        return 0;
    const auto byte = static_cast<std::uint8_t>(m_rest.front());
    m_rest.remove_prefix(1);
    return byte;
}

std::string_view FuzzInput::Text() {
    const std::size_t zero = m_rest.find('\0');
    const std::string_view text = m_rest.substr(0, zero);
    m_rest.remove_prefix(zero == std::string_view::npos ? m_rest.size() : zero + 1);
    return text;
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

std::string InputFile(std::string_view name, std::string_view content) {
    return Scratch().WriteFile(name, content);
}

std::string EmptyScratchFolder(std::string_view name) {
    const std::string folder = Scratch() / name;
    std::error_code ignored;
    std::filesystem::remove_all(NativePath(folder), ignored);
    return Scratch().MakeFolder(name);
}

void Require(bool holds, std::string_view what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

}  // namespace tomlet::fuzz
