#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/text_codec.h"
#include "platform/utf8.h"

namespace tomlet {

namespace {

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

// How much of the input one replacement stands for: a byte of a code page, or a whole UTF-8
// character (a malformed byte on its own).
std::size_t OneByte(std::string_view) {
    return 1;
}
std::size_t OneCharacter(std::string_view text) {
    return std::max<std::size_t>(utf8::SequenceLength(text), 1);
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
    // goes on after the bytes that skip() says the sequence takes. Without a replacement such a
    // sequence fails the whole conversion.
    std::optional<std::string> Convert(std::string_view input,
                                       std::optional<std::string_view> replacement,
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
            if (!replacement)
                return std::nullopt;
            Flush(output, written);
            const std::size_t skipped = std::min(inLeft, skip(std::string_view(in, inLeft)));
            output.replace(written, 0, *replacement);
            written += replacement->size();
            in += skipped;
            inLeft -= skipped;
        }
        Flush(output, written);
        output.resize(written);
        return output;
    }

private:
    // Writes out what the converter holds back and returns it to its initial state. Some
    // converters keep the last character until they see whether a combining mark follows it
    // (glibc's CP1255 and CP1258): without this, a text would lose its last letter.
    void Flush(std::string& output, std::size_t& written) const {
        for (;;) {
            char* out = output.data() + written;
            std::size_t outLeft = output.size() - written;
            const std::size_t result = iconv(m_handle, nullptr, nullptr, &out, &outLeft);
            written = output.size() - outLeft;
            if (result != static_cast<std::size_t>(-1) || errno != E2BIG)
                return;
            output.resize(output.size() * 2);
        }
    }

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

}  // namespace

std::string TextCodec::ToUtf8(std::string_view bytes) const {
    if (IsUtf8())
        return utf8::IsWellFormed(bytes) ? std::string(bytes) : utf8::Sanitised(bytes);
    const Converter& converter = ConvertersFor(m_codePage).ToUtf8;
    if (!converter.IsOpen())
        return utf8::AsciiToUtf8(bytes);
    return *converter.Convert(bytes, utf8::Replacement, OneByte);
}

std::string TextCodec::FromUtf8(std::string_view text) const {
    if (IsUtf8())
        return std::string(text);
    const Converter& converter = ConvertersFor(m_codePage).FromUtf8;
    if (!converter.IsOpen())
        return utf8::Utf8ToAscii(text);
    return *converter.Convert(text, std::string_view(&utf8::ReplacementByte, 1), OneCharacter);
}

std::optional<std::string> TextCodec::FromUtf8Exactly(std::string_view text) const {
    if (IsUtf8() || !ConvertersFor(m_codePage).FromUtf8.IsOpen()) {
        if (!(IsUtf8() ? utf8::IsWellFormed(text) : utf8::IsAscii(text)))
            return std::nullopt;
        return std::string(text);
    }
    return ConvertersFor(m_codePage).FromUtf8.Convert(text, std::nullopt, OneCharacter);
}

int SystemCodePage() {
    // The user's locale as the environment gives it, whether or not setlocale has run yet.
    const locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0))
        return TextCodec::Utf8;
    const int codePage = CodePageOfCharset(nl_langinfo_l(CODESET, locale));
    freelocale(locale);
    return codePage;
}

}  // namespace tomlet
