#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tomlet {

// Converts texts between a code page (the bytes stored in project, language and settings files)
// and UTF-8. Code page 65001 is UTF-8 itself; others are the Windows code pages such as 1251 or
// 1252. A code page the system does not know keeps ASCII and replaces the rest.
class TextCodec final {
public:
    static constexpr int Utf8 = 65001;

    explicit TextCodec(int codePage = Utf8);

    int CodePage() const { return m_codePage; }
    bool IsUtf8() const { return m_codePage == Utf8; }
    // Bytes that do not map become U+FFFD and characters the code page lacks '?': never dropped,
    // never turned into look-alike letters or control characters.
    std::string ToUtf8(std::string_view bytes) const;
    std::string FromUtf8(std::string_view utf8) const;
    // Nothing when the code page lacks a character of the text, or the text is not UTF-8.
    std::optional<std::string> FromUtf8Exactly(std::string_view utf8) const;

    // Where one of the ASCII characters `ascii` stands in `text` as a character of its own, from
    // `from` on (which must begin a character); npos when nowhere. In the double-byte code pages
    // (932, 936, 949, 950, 1361, 54936) the second byte of a character may be an ASCII byte, in
    // 932, 936 and 950 even 0x5C, '\': a path is split at its separators only here. Two bytes
    // count as one character exactly where this codec converts them as one, as the system does
    // when it opens the path: a lead byte whose pair the code page does not define stands alone.
    std::size_t FindAscii(std::string_view text, std::string_view ascii,
                          std::size_t from = 0) const;
    std::size_t FindLastAscii(std::string_view text, std::string_view ascii) const;
    // The text with every character `from` (ASCII) replaced by `to`.
    std::string ReplaceAscii(std::string_view text, char from, char to) const;

private:
    // Whether the two bytes at `at` are one character of a double-byte code page.
    bool IsPairAt(std::string_view text, std::size_t at) const;

    int m_codePage;
    bool m_doubleByte = false;
};

// The system's text code page: the ANSI code page on Windows, the locale's character set
// elsewhere (the plain C or POSIX locale counts as UTF-8).
int SystemCodePage();
// The code page of a character set name as the C library gives it ("CP1251", "ISO-8859-1",
// "KOI8-R", ...); UTF-8 for UTF-8, ASCII and any name it does not know.
int CodePageOfCharset(std::string_view charset);

// The code page the whole program reads and writes its texts in, file names included: the
// system's unless overridden.
const TextCodec& ProcessCodec();
void SetProcessCodePage(int codePage);

// Sets the process code page for one scope and puts back the one before.
class ScopedProcessCodePage final {
public:
    explicit ScopedProcessCodePage(int codePage);
    ~ScopedProcessCodePage();
    ScopedProcessCodePage(const ScopedProcessCodePage&) = delete;
    ScopedProcessCodePage& operator=(const ScopedProcessCodePage&) = delete;

private:
    int m_before;
};

}  // namespace tomlet
