#include <array>
#include <cstdio>
#include <utility>

#include "core/catalogue.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

// The number with three decimals in a field of at least eight, then a blank and the unit.
// The format is ours; printf gives the user's decimal separator.
std::string SizeWithUnit(double size, std::string_view utf8Unit) {
    char number[64];
    std::snprintf(number, sizeof number, "%8.3f", size);
    return std::string(number) + ' ' + ProcessCodec().FromUtf8(utf8Unit);
}

}  // namespace

std::string FileSizeText(const std::string& fullPath) {
    const auto facts = LookUpPath(fullPath);
    if (!facts || facts->IsDirectory)
        return {};
    const std::uint64_t size = facts->Size;
    if (size == 0)
        return "0 " + ProcessCodec().FromUtf8("КБ");
    if (size < 1024)
        return SizeWithUnit(static_cast<double>(size), "byte");
    if (size < 1024 * 1024)
        return SizeWithUnit(static_cast<double>(size) / 1024, "КБ");
    return SizeWithUnit(static_cast<double>(size) / (1024 * 1024), "МБ");
}

std::string FileAttributesText(const std::string& fullPath) {
    static constexpr std::array<std::pair<FileAttribute, TextId>, 8> Names{{
        {faDirectory, TextId::hint_fa_directory},
        {faReadOnly, TextId::hint_fa_readonly},
        {faHidden, TextId::hint_fa_hidden},
        {faArchive, TextId::hint_fa_archive},
        {faSystem, TextId::hint_fa_system},
        {faTemporary, TextId::hint_fa_temporary},
        {faOffline, TextId::hint_fa_offline},
        {faCompressed, TextId::hint_fa_compressed},
    }};
    const auto facts = LookUpPath(fullPath);
    if (!facts)
        return Text(TextId::hint_fa_virtual);
    std::string text;
    for (const auto& [attribute, name] : Names) {
        if ((facts->Attributes & attribute) == 0)
            continue;
        if (!text.empty())
            text += ", ";
        text += Text(name);
    }
    return text.empty() ? Text(TextId::hint_fa_noattributes) : text;
}

}  // namespace tomlet
