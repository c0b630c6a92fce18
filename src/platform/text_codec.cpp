#include "platform/text_codec.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/utf8.h"

namespace tomlet {

namespace utf8 {

std::size_t SequenceLength(std::string_view text) {
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

bool IsWellFormed(std::string_view text) {
    for (std::size_t length = 0; !text.empty(); text.remove_prefix(length))
        if ((length = SequenceLength(text)) == 0)
            return false;
    return true;
}

std::string Sanitised(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = SequenceLength(text);
        if (length == 0)
            result += Replacement;
        else
            result += text.substr(0, length);
        text.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return result;
}

bool IsAscii(std::string_view text) {
    return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string AsciiToUtf8(std::string_view bytes) {
    std::string result;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            result += c;
        else
            result += Replacement;
    }
    return result;
}

std::string Utf8ToAscii(std::string_view text) {
    std::string result;
    while (!text.empty()) {
        const std::size_t length = std::max<std::size_t>(SequenceLength(text), 1);
        result += static_cast<unsigned char>(text[0]) < 0x80 ? text[0] : ReplacementByte;
        text.remove_prefix(std::min(length, text.size()));
    }
    return result;
}

}  // namespace utf8

TextCodec::TextCodec(int codePage)
    : m_codePage(codePage),
      m_doubleByte(codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
                   codePage == 1361 || codePage == 54936) {}

namespace {

// The pairs of bytes a double-byte code page's converter takes as one character, found once per
// code page by converting each of them (32,640 conversions).
class PairTable final {
public:
    explicit PairTable(const TextCodec& codec) : m_pairs(0x10000) {
        for (unsigned first = 0x80; first <= 0xFF; ++first) {
            for (unsigned second = 1; second <= 0xFF; ++second) {
                const char pair[] = {static_cast<char>(first), static_cast<char>(second)};
                const std::string text = codec.ToUtf8(std::string_view(pair, 2));
                m_pairs[first << 8 | second] = text.find(utf8::Replacement) == std::string::npos &&
                                               utf8::SequenceLength(text) == text.size();
            }
        }
    }
    bool IsPair(unsigned char first, unsigned char second) const {
        return m_pairs[static_cast<unsigned>(first) << 8 | second];
    }

private:
    std::vector<bool> m_pairs;
};

const PairTable& PairsOf(const TextCodec& codec) {
    static std::mutex guard;
    static std::map<int, std::unique_ptr<PairTable>> tables;
    const std::lock_guard lock(guard);
    std::unique_ptr<PairTable>& table = tables[codec.CodePage()];
    if (!table)
        table = std::make_unique<PairTable>(codec);
    return *table;
}

}  // namespace

bool TextCodec::IsPairAt(std::string_view text, std::size_t at) const {
    const auto first = static_cast<unsigned char>(text[at]);
    return first >= 0x80 && at + 1 < text.size() &&
           PairsOf(*this).IsPair(first, static_cast<unsigned char>(text[at + 1]));
}

std::size_t TextCodec::FindAscii(std::string_view text, std::string_view ascii,
                                 std::size_t from) const {
    if (!m_doubleByte)
        return text.find_first_of(ascii, from);
    for (std::size_t i = from; i < text.size(); ++i) {
        if (IsPairAt(text, i))
            ++i;  // the character's second byte, whatever it is
        else if (ascii.find(text[i]) != std::string_view::npos)
            return i;
    }
    return std::string_view::npos;
}

std::size_t TextCodec::FindLastAscii(std::string_view text, std::string_view ascii) const {
    if (!m_doubleByte)
        return text.find_last_of(ascii);
    std::size_t last = std::string_view::npos;
    for (std::size_t at = FindAscii(text, ascii); at != std::string_view::npos;
         at = FindAscii(text, ascii, at + 1))
        last = at;
    return last;
}

std::string TextCodec::ReplaceAscii(std::string_view text, char from, char to) const {
    std::string result(text);
    const std::string_view wanted(&from, 1);
    for (std::size_t at = FindAscii(result, wanted); at != std::string::npos;
         at = FindAscii(result, wanted, at + 1))
        result[at] = to;
    return result;
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

ScopedProcessCodePage::ScopedProcessCodePage(int codePage) : m_before(ProcessCodec().CodePage()) {
    SetProcessCodePage(codePage);
}

ScopedProcessCodePage::~ScopedProcessCodePage() {
    SetProcessCodePage(m_before);
}

}  // namespace tomlet
