#include <windows.h>

#include <array>
#include <iostream>
#include <memory>
#include <streambuf>

#include "platform/console_output.h"
#include "platform/text_codec.h"
#include "platform/wide_text.h"

namespace tomlet {

namespace {

// Writes what a stream collects to a console, as UTF-16.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : m_console(console) {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }

protected:
    int_type overflow(int_type c) override {
        if (sync() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    int sync() override {
        const std::string whole =
            m_pieces.Take({pbase(), static_cast<std::size_t>(pptr() - pbase())});
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        const std::wstring wide = WideFromCodePage(TextCodec::Utf8, whole);
        DWORD written = 0;
        return wide.empty() || WriteConsoleW(m_console, wide.data(),
                                             static_cast<DWORD>(wide.size()), &written, nullptr)
                   ? 0
                   : -1;
    }

private:
    HANDLE m_console;
    std::array<char, 4096> m_buffer{};
    Utf8Pieces m_pieces;
};

void UseConsoleFor(std::ostream& stream, DWORD standardHandle) {
    const HANDLE handle = GetStdHandle(standardHandle);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode))
        return;  // a pipe or a file: UTF-8 bytes
    static std::array<std::unique_ptr<ConsoleBuffer>, 2> buffers;
    auto& buffer = buffers[standardHandle == STD_OUTPUT_HANDLE ? 0 : 1];
    buffer = std::make_unique<ConsoleBuffer>(handle);
    stream.rdbuf(buffer.get());
}

}  // namespace

void UseUnicodeConsole() {
    UseConsoleFor(std::cout, STD_OUTPUT_HANDLE);
    UseConsoleFor(std::cerr, STD_ERROR_HANDLE);
}

}  // namespace tomlet
