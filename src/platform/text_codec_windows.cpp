#include <windows.h>

#include "platform/text_codec.h"
#include "platform/utf8.h"
#include "platform/wide_text.h"

namespace tomlet {

namespace {

constexpr wchar_t WideReplacement = L'\xFFFD';

bool IsKnown(int codePage) {
    return codePage == CP_UTF8 || IsValidCodePage(static_cast<UINT>(codePage));
}

bool IsSingleByte(int codePage) {
    CPINFO info;
    return GetCPInfo(static_cast<UINT>(codePage), &info) && info.MaxCharSize == 1;
}

// Converts, or fails on a byte sequence the code page does not define.
bool WidenStrictly(int codePage, std::string_view bytes, std::wstring& wide) {
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS,
                                           bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return false;
    wide.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, bytes.data(),
                               size, wide.data(), length) == length;
}

// The single-byte code pages give their unassigned bytes as C1 control characters; iconv, and
// so the program elsewhere, counts them as not mapped.
void ReplaceUnassigned(std::string_view bytes, std::wstring& wide) {
    for (std::size_t i = 0; i < wide.size() && i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80 && wide[i] >= 0x80 && wide[i] <= 0x9F)
            wide[i] = WideReplacement;
}

// Character by character, so that each sequence that does not convert is replaced alone.
std::wstring WidenPiecewise(int codePage, std::string_view bytes) {
    std::wstring wide;
    while (!bytes.empty()) {
        const bool lead =
            IsDBCSLeadByteEx(static_cast<UINT>(codePage), static_cast<BYTE>(bytes[0]));
        const std::size_t length = lead && bytes.size() > 1 ? 2 : 1;
        std::wstring piece;
        if (WidenStrictly(codePage, bytes.substr(0, length), piece)) {
            wide += piece;
            bytes.remove_prefix(length);
        } else {
            wide += WideReplacement;
            bytes.remove_prefix(1);
        }
    }
    return wide;
}

std::string Narrow(int codePage, std::wstring_view wide, bool& lacking) {
    lacking = false;
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const UINT page = static_cast<UINT>(codePage);
    // UTF-8 takes no default character; it lacks only unpaired surrogates.
    const bool utf8 = codePage == CP_UTF8;
    DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    int length =
        WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, usedDefaultOut);
    if (length <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        // Code pages such as GB18030 take no flags; they hold every character anyway.
        flags = 0;
        usedDefaultOut = nullptr;
        length = WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    }
    if (length <= 0) {
        lacking = true;
        return {};
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(page, flags, wide.data(), size, bytes.data(), length, nullptr,
                        usedDefaultOut);
    lacking = usedDefault != FALSE;
    return bytes;
}

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring wide;
    if (!WidenStrictly(CP_UTF8, text, wide) && !text.empty())
        WidenStrictly(CP_UTF8, utf8::Sanitised(text), wide);
    return wide;
}

}  // namespace

std::wstring WideFromCodePage(int codePage, std::string_view bytes) {
    if (bytes.empty())
        return {};
    if (codePage == CP_UTF8)
        return WideFromUtf8(bytes);
    if (!IsKnown(codePage))
        return WideFromUtf8(utf8::AsciiToUtf8(bytes));
    std::wstring wide;
    if (!WidenStrictly(codePage, bytes, wide))
        wide = WidenPiecewise(codePage, bytes);
    if (IsSingleByte(codePage))
        ReplaceUnassigned(bytes, wide);
    return wide;
}

std::optional<std::string> CodePageFromWide(int codePage, std::wstring_view wide) {
    if (!IsKnown(codePage)) {
        const auto text = CodePageFromWide(CP_UTF8, wide);
        return text && utf8::IsAscii(*text) ? text : std::nullopt;
    }
    bool lacking = false;
    std::string bytes = Narrow(codePage, wide, lacking);
    if (lacking)
        return std::nullopt;
    return bytes;
}

std::string CodePageFromWideReplacing(int codePage, std::wstring_view wide) {
    if (const auto exact = CodePageFromWide(codePage, wide))
        return *exact;
    // Character by character: one '?' for each that is lacking, a surrogate pair included.
    std::string bytes;
    for (std::size_t i = 0; i < wide.size();) {
        const bool pair =
            IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        const std::size_t length = pair ? 2 : 1;
        bytes += CodePageFromWide(codePage, wide.substr(i, length)).value_or("?");
        i += length;
    }
    return bytes;
}

std::string TextCodec::ToUtf8(std::string_view bytes) const {
    if (IsUtf8())
        return utf8::IsWellFormed(bytes) ? std::string(bytes) : utf8::Sanitised(bytes);
    return CodePageFromWideReplacing(CP_UTF8, WideFromCodePage(m_codePage, bytes));
}

std::string TextCodec::FromUtf8(std::string_view text) const {
    if (IsUtf8())
        return std::string(text);
    return CodePageFromWideReplacing(m_codePage, WideFromUtf8(text));
}

std::optional<std::string> TextCodec::EncodeExactly(std::string_view text) const {
    if (!utf8::IsWellFormed(text))
        return std::nullopt;
    if (IsUtf8())
        return std::string(text);
    return CodePageFromWide(m_codePage, WideFromUtf8(text));
}

int SystemCodePage() {
    return static_cast<int>(GetACP());
}

}  // namespace tomlet
