#include "core/code_page_texts.h"

#include <algorithm>
#include <array>

#include "core/catalogue.h"
#include "platform/text_codec.h"
#include "platform/utf8.h"

namespace tomlet {

namespace {

// At most so many characters are named: the message stays a message.
constexpr std::size_t MaxNamed = 12;
// Accented letters of a Western code page stand between plain ones; a run as long as this is
// Cyrillic, Greek or Hebrew bytes read in the wrong code page.
constexpr std::size_t ForeignRun = 4;

bool IsWesternCodePage(int codePage) {
    constexpr std::array western{1250, 1252, 1254, 1257, 28591, 28592};
    return std::ranges::find(western, codePage) != western.end();
}

// The bytes of Cyrillic letters in code page 1251 (Ё, ё and А to я), accented letters in 1252.
bool IsHighLetterByte(unsigned char c) {
    return c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

bool HasForeignRun(std::string_view stored) {
    std::size_t run = 0;
    for (const char c : stored) {
        run = IsHighLetterByte(static_cast<unsigned char>(c)) ? run + 1 : 0;
        if (run >= ForeignRun)
            return true;
    }
    return false;
}

}  // namespace

std::string UnheldCharacters(std::string_view text) {
    const TextCodec& project = ProjectCodec();
    const std::string utf8 = ProcessCodec().ToUtf8(text);
    std::string named;
    std::size_t count = 0;
    for (std::size_t at = 0; at < utf8.size() && count < MaxNamed;) {
        const std::size_t length = std::max<std::size_t>(utf8::SequenceLength(utf8.substr(at)), 1);
        const std::string character = utf8.substr(at, length);
        at += length;
        if (project.FromUtf8Exactly(character) ||
            named.find(character + ' ') != std::string::npos || named.ends_with(character))
            continue;
        named += (named.empty() ? "" : " ") + character;
        ++count;
    }
    return ProcessCodec().FromUtf8(named);
}

std::string UnheldCharactersText(std::string_view characters) {
    return FormatString(
        FormatCount(Text(TextId::message_CodePageLacks_DS), ProjectCodec().CodePage()), characters);
}

std::optional<std::string> RefuseUnheldTexts(std::span<const std::string_view> texts) {
    if (!ProjectTextsConvert())
        return std::nullopt;
    for (const std::string_view text : texts)
        if (const std::string unheld = UnheldCharacters(text); !unheld.empty())
            return UnheldCharactersText(unheld);
    return std::nullopt;
}

bool ReadsRightIn(int codePage, std::string_view stored) {
    if (utf8::IsAscii(stored))
        return true;
    return TextCodec(codePage).Decodes(stored) &&
           !(IsWesternCodePage(codePage) && HasForeignRun(stored));
}

std::optional<int> GuessCodePage(int codePage, std::span<const std::string> stored) {
    constexpr std::array candidates{
        TextCodec::Utf8, 1251, 1253, 1255, 1256, 932, 936, 949, 950, 1252, 1250};
    for (const int candidate : candidates)
        if (candidate != codePage && std::ranges::all_of(stored, [&](const std::string& text) {
                return ReadsRightIn(candidate, text);
            }))
            return candidate;
    return std::nullopt;
}

std::string TextsDoNotDecodeText(int codePage, std::optional<int> guess) {
    const std::string offered =
        guess ? " (perhaps _CodePage=" + std::to_string(*guess) + ")." : std::string(".");
    return FormatString(FormatCount(Text(TextId::message_TextsDoNotDecode_DS), codePage), offered);
}

}  // namespace tomlet
