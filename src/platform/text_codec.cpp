#include "platform/text_codec.h"

#include <algorithm>
#include <array>
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

// find_first_of looks each byte up in `ascii` by a call of its own: paths are searched for their
// separators often enough to tell.
std::size_t FindAnyOf(std::string_view text, std::string_view ascii, std::size_t from) {
    if (ascii.size() == 1)
        return text.find(ascii[0], from);
    std::array<bool, 256> wanted{};
    for (const char c : ascii)
        wanted[static_cast<unsigned char>(c)] = true;
    for (std::size_t i = from; i < text.size(); ++i)
        if (wanted[static_cast<unsigned char>(text[i])])
            return i;
    return std::string_view::npos;
}

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
        return FindAnyOf(text, ascii, from);
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
        return ascii.size() == 1 ? text.rfind(ascii[0]) : text.find_last_of(ascii);
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

namespace {

// A byte kept by ToUtf8Keeping: U+F0000 plus the byte, in UTF-8 F3 B0 then 80-83 and one more.
constexpr std::string_view KeptBytePrefix = "\xF3\xB0";

std::string KeptByteText(unsigned char byte) {
    return std::string(KeptBytePrefix) + static_cast<char>(0x80 | byte >> 6) +
           static_cast<char>(0x80 | (byte & 0x3F));
}

// The byte that the kept-byte character at the start of `text` stands for.
std::optional<char> KeptByteAt(std::string_view text) {
    if (text.size() < 4 || !text.starts_with(KeptBytePrefix))
        return std::nullopt;
    const auto high = static_cast<unsigned char>(text[2]);
    const auto low = static_cast<unsigned char>(text[3]);
    if (high < 0x80 || high > 0x83 || (low & 0xC0) != 0x80)
        return std::nullopt;
    return static_cast<char>((high & 0x3F) << 6 | (low & 0x3F));
}

// How many bytes (at most four, as in GB18030) make the character that `bytes` starts with;
// 0 when none of those lengths converts.
std::size_t CharacterLength(const TextCodec& codec, std::string_view bytes) {
    for (std::size_t length = 1; length <= std::min<std::size_t>(4, bytes.size()); ++length)
        if (codec.ToUtf8(bytes.substr(0, length)).find(utf8::Replacement) == std::string::npos)
            return length;
    return 0;
}

}  // namespace

std::string TextCodec::ToUtf8Keeping(std::string_view bytes) const {
    std::string whole = ToUtf8(bytes);
    if (IsUtf8() || whole.find(utf8::Replacement) == std::string::npos)
        return whole;
    // Character by character, only for the rare text that holds such a byte.
    std::string kept;
    while (!bytes.empty()) {
        const std::size_t length = CharacterLength(*this, bytes);
        kept += length > 0 ? ToUtf8(bytes.substr(0, length))
                           : KeptByteText(static_cast<unsigned char>(bytes[0]));
        bytes.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return kept;
}

std::optional<std::string> TextCodec::FromUtf8Exactly(std::string_view text) const {
    if (IsUtf8())
        return EncodeExactly(text);
    std::string bytes;
    std::size_t start = 0;
    // F3 never continues a UTF-8 sequence: where the prefix stands, a character begins.
    for (std::size_t at = text.find(KeptBytePrefix); at != std::string_view::npos;
         at = text.find(KeptBytePrefix, at + 1)) {
        const std::optional<char> byte = KeptByteAt(text.substr(at));
        if (!byte)
            continue;
        const auto before = EncodeExactly(text.substr(start, at - start));
        if (!before)
            return std::nullopt;
        bytes += *before + *byte;
        start = at + 4;
    }
    const auto rest = EncodeExactly(text.substr(start));
    if (!rest)
        return std::nullopt;
    return bytes + *rest;
}

bool TextCodec::Decodes(std::string_view bytes) const {
    if (IsUtf8())
        return utf8::IsWellFormed(bytes);
    // No code page maps a byte to U+FFFD: where it stands, a byte did not convert.
    return utf8::IsAscii(bytes) || ToUtf8(bytes).find(utf8::Replacement) == std::string::npos;
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

std::optional<TextCodec>& MutableProjectCodec() {
    static std::optional<TextCodec> codec;
    return codec;
}

}  // namespace

const TextCodec& ProcessCodec() {
    return MutableProcessCodec();
}

void SetProcessCodePage(int codePage) {
    MutableProcessCodec() = TextCodec(codePage);
}

const TextCodec& ProjectCodec() {
    const std::optional<TextCodec>& codec = MutableProjectCodec();
    return codec ? *codec : ProcessCodec();
}

void SetProjectCodePage(int codePage) {
    MutableProjectCodec() = TextCodec(codePage);
}

bool ProjectTextsConvert() {
    return ProjectCodec().CodePage() != ProcessCodec().CodePage();
}

std::string ToProcessText(const TextCodec& codec, std::string_view bytes) {
    const TextCodec& process = ProcessCodec();
    if (codec.CodePage() == process.CodePage())
        return std::string(bytes);
    return process.IsUtf8() ? codec.ToUtf8Keeping(bytes) : process.FromUtf8(codec.ToUtf8(bytes));
}

std::optional<std::string> FromProcessText(const TextCodec& codec, std::string_view text) {
    const TextCodec& process = ProcessCodec();
    if (codec.CodePage() == process.CodePage())
        return std::string(text);
    return codec.FromUtf8Exactly(process.IsUtf8() ? std::string(text) : process.ToUtf8(text));
}

ScopedProjectCodePage::ScopedProjectCodePage(int codePage) : m_before(MutableProjectCodec()) {
    SetProjectCodePage(codePage);
}

ScopedProjectCodePage::~ScopedProjectCodePage() {
    MutableProjectCodec() = m_before;
}

ScopedProcessCodePage::ScopedProcessCodePage(int codePage) : m_before(ProcessCodec().CodePage()) {
    SetProcessCodePage(codePage);
}

ScopedProcessCodePage::~ScopedProcessCodePage() {
    SetProcessCodePage(m_before);
}

}  // namespace tomlet
