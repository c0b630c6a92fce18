#pragma once

#include <string>
#include <string_view>

namespace tomlet {

// Converts texts between a code page (the bytes stored in project, language and settings files)
// and UTF-8. Code page 65001 is UTF-8 itself; others are the Windows single-byte code pages such
// as 1251 or 1252.
class TextCodec final {
public:
    static constexpr int Utf8 = 65001;

    explicit TextCodec(int codePage = Utf8);

    int CodePage() const { return m_codePage; }
    bool IsUtf8() const { return m_codePage == Utf8; }
    // Bytes that do not map are replaced, never dropped silently into wrong letters.
    std::string ToUtf8(std::string_view bytes) const;
    std::string FromUtf8(std::string_view utf8) const;

private:
    int m_codePage;
};

// The system's text code page: the ANSI code page on Windows, the locale's character set
// elsewhere (the plain C or POSIX locale counts as UTF-8).
int SystemCodePage();
// The code page of a character set name as the C library gives it ("CP1251", "ISO-8859-1",
// "KOI8-R", ...); UTF-8 for UTF-8, ASCII and any name it does not know.
int CodePageOfCharset(std::string_view charset);

// The code page the whole program reads and writes its texts in: the system's unless overridden.
const TextCodec& ProcessCodec();
void SetProcessCodePage(int codePage);

}  // namespace tomlet
