#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

// What the fuzz targets share: taking an input apart, and saying what must never happen.
namespace tomlet::fuzz {

// Takes an input apart from its front: single bytes for choices, texts up to a zero byte.
class FuzzInput final {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return m_rest.empty(); }
    // The next byte; 0 once the input is used up.
    std::uint8_t Byte();
    // The bytes up to the next zero byte (which is taken too), or to the end.
    std::string_view Text();
    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

std::string_view AsText(const std::uint8_t* data, std::size_t size);

// The input as a file of that name in a scratch folder, the same file every time, for parsers
// that read files.
std::string InputFile(std::string_view name, std::string_view content);
// A scratch folder of that name, emptied.
std::string EmptyScratchFolder(std::string_view name);

// A code page picked by a byte from those the target means to try.
template <std::size_t N>
TextCodec CodecOf(std::uint8_t choice, const int (&codePages)[N]) {
    return TextCodec(codePages[choice % N]);
}

// A broken promise of the program: printed, then the run aborts, which libFuzzer takes as a
// finding (and the corpus test as a crash).
void Require(bool holds, std::string_view what);

}  // namespace tomlet::fuzz
