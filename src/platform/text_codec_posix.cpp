#include "platform/text_codec.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <memory>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#endif

namespace tomlet {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr char ReplacementByte = '?';

// Length of the well-formed UTF-8 sequence at the start of text; 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

// The text with every byte that does not start a well-formed sequence replaced by U+FFFD.
std::string SanitiseUtf8(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0)
            result += Replacement;
        else
            result += text.substr(0, length);
        text.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return result;
}

bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t length = 0; !text.empty(); text.remove_prefix(length))
        if ((length = Utf8SequenceLength(text)) == 0)
            return false;
    return true;
}

#ifdef _WIN32

std::wstring Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    // UTF-8 takes no default character; the others fall back to '?' for what they lack.
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    std::string bytes(
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, fallback, nullptr), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(),
                        static_cast<int>(bytes.size()), fallback, nullptr);
    return bytes;
}

#else

// How much of the input one replacement stands for: a byte of a code page, or a whole UTF-8
// character (a malformed byte on its own).
std::size_t OneByte(std::string_view) {
    return 1;
}
std::size_t OneCharacter(std::string_view text) {
    return std::max<std::size_t>(Utf8SequenceLength(text), 1);
}

std::string IconvName(int codePage) {
    switch (codePage) {
        case 20866:
            return "KOI8-R";
        case 21866:
            return "KOI8-U";
        case 20932:
            return "EUC-JP";
        case 51949:
            return "EUC-KR";
        case 54936:
            return "GB18030";
    }
    if (codePage > 28590 && codePage <= 28606)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

// One conversion direction of one code page. The program converts on one thread, so a
// per-thread cache spares opening a converter for every text.
class Converter final {
public:
    Converter(const std::string& to, const std::string& from)
        : m_handle(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (IsOpen())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts all of input; at a sequence that does not convert, appends the replacement and
    // goes on after the bytes that skip() says the sequence takes.
    std::string Convert(std::string_view input, std::string_view replacement,
                        std::size_t (*skip)(std::string_view)) const {
        std::string output(input.size() + input.size() / 2 + 8, '\0');
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t written = 0;
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char* out = output.data() + written;
            std::size_t outLeft = output.size() - written;
            const std::size_t result = iconv(m_handle, &in, &inLeft, &out, &outLeft);
            written = output.size() - outLeft;
            if (result != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            const std::size_t skipped = std::min(inLeft, skip(std::string_view(in, inLeft)));
            output.replace(written, 0, replacement);
            written += replacement.size();
            in += skipped;
            inLeft -= skipped;
            iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        }
        output.resize(written);
        return output;
    }

private:
    iconv_t m_handle;
};

struct Converters {
    int CodePage;
    Converter ToUtf8;
    Converter FromUtf8;
};

const Converters& ConvertersFor(int codePage) {
    thread_local std::unique_ptr<Converters> cached;
    if (!cached || cached->CodePage != codePage) {
        const std::string name = IconvName(codePage);
        cached.reset(new Converters{codePage, {"UTF-8", name}, {name, "UTF-8"}});
    }
    return *cached;
}

// What a code page the C library does not know becomes: ASCII kept, everything else replaced.
std::string AsciiOnly(std::string_view text, std::string_view replacement,
                      std::size_t (*skip)(std::string_view)) {
    std::string result;
    while (!text.empty()) {
        if (static_cast<unsigned char>(text[0]) < 0x80) {
            result += text[0];
            text.remove_prefix(1);
        } else {
            result += replacement;
            text.remove_prefix(std::min(text.size(), skip(text)));
        }
    }
    return result;
}

#endif

}  // namespace

TextCodec::TextCodec(int codePage) : m_codePage(codePage) {}

std::string TextCodec::ToUtf8(std::string_view bytes) const {
    if (IsUtf8())
        return IsWellFormedUtf8(bytes) ? std::string(bytes) : SanitiseUtf8(bytes);
#ifdef _WIN32
    return Narrow(CP_UTF8, Widen(static_cast<UINT>(m_codePage), bytes));
#else
    const Converter& converter = ConvertersFor(m_codePage).ToUtf8;
    if (!converter.IsOpen())
        return AsciiOnly(bytes, Replacement, OneByte);
    return converter.Convert(bytes, Replacement, OneByte);
#endif
}

std::string TextCodec::FromUtf8(std::string_view utf8) const {
    if (IsUtf8())
        return std::string(utf8);
#ifdef _WIN32
    return Narrow(static_cast<UINT>(m_codePage), Widen(CP_UTF8, utf8));
#else
    const Converter& converter = ConvertersFor(m_codePage).FromUtf8;
    if (!converter.IsOpen())
        return AsciiOnly(utf8, {&ReplacementByte, 1}, OneCharacter);
    return converter.Convert(utf8, {&ReplacementByte, 1}, OneCharacter);
#endif
}

int CodePageOfCharset(std::string_view charset) {
    std::string name;
    for (const char c : charset)
        if (c != '-' && c != '_')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto numberAfter = [&](std::string_view prefix) {
        int number = 0;
        if (!name.starts_with(prefix))
            return 0;
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        const auto [end, error] = std::from_chars(first, last, number);
        return error == std::errc{} && end == last ? number : 0;
    };
    if (const int n = numberAfter("ISO8859"); n > 0)
        return 28590 + n;
    for (const std::string_view prefix : {"CP", "WINDOWS", "IBM"})
        if (const int n = numberAfter(prefix); n > 0)
            return n;
    static constexpr std::pair<std::string_view, int> Named[] = {
        {"KOI8R", 20866}, {"KOI8U", 21866}, {"EUCJP", 20932},  {"SHIFTJIS", 932},
        {"SJIS", 932},    {"GBK", 936},     {"GB2312", 936},   {"EUCCN", 936},
        {"BIG5", 950},    {"EUCKR", 51949}, {"GB18030", 54936}};
    for (const auto& [known, codePage] : Named)
        if (name == known)
            return codePage;
    // UTF-8 itself, and the plain C or POSIX locale's ASCII.
    return TextCodec::Utf8;
}

int SystemCodePage() {
#ifdef _WIN32
    return static_cast<int>(GetACP());
#else
    // The user's locale as the environment gives it, whether or not setlocale has run yet.
    const locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0))
        return TextCodec::Utf8;
    const int codePage = CodePageOfCharset(nl_langinfo_l(CODESET, locale));
    freelocale(locale);
    return codePage;
#endif
}

namespace {

TextCodec& MutableProcessCodec() {
    static TextCodec codec(SystemCodePage());
    return codec;
}

}  // namespace

const TextCodec& ProcessCodec() {
    return MutableProcessCodec();
}

void SetProcessCodePage(int codePage) {
    MutableProcessCodec() = TextCodec(codePage);
}

}  // namespace tomlet
