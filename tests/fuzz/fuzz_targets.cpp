#include "fuzz_targets.h"

#include <QByteArrayView>
#include <exception>
#include <fstream>
#include <string>

#include "cli/json_project.h"
#include "core/catalogue.h"
#include "core/ini_file.h"
#include "core/language_file.h"
#include "core/project_file.h"
#include "core/search.h"
#include "core/wildcard.h"
#include "support/temp_folder.h"
#include "ui/progress/jpeg_decoder.h"

namespace tomlet::fuzz {

namespace {

std::string_view Text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input as a file, for parsers that read files; the same file every time.
std::string InputFile(std::string_view name, std::string_view content) {
    static const testing::TempFolder scratch;
    return scratch.WriteFile(name, content);
}

// The first byte picks the code page the rest is in.
TextCodec CodecOf(std::uint8_t choice) {
    return TextCodec(choice % 2 == 0 ? TextCodec::Utf8 : 1251);
}

int ProjectReader(const std::uint8_t* data, std::size_t size) {
    TProjectRec project;
    ObjectTree tree;
    SilentProgress silent;
    ReadProjectFile(InputFile("input.tml", Text(data, size)), project, tree, silent, silent);
    return 0;
}

int HeaderPeek(const std::uint8_t* data, std::size_t size) {
    SplashSettings settings;
    const std::string path = InputFile("input.tml", Text(data, size));
    PeekSplashSettings(path, path.substr(0, path.size() - 9), settings);
    return 0;
}

int IniFileParser(const std::uint8_t* data, std::size_t size) {
    try {
        IniFile file(InputFile("input.ini", Text(data, size)));
        file.ReadBool("Main", "_Caption", true);
        file.ReadString("Default", "_DefaultFile", "");
        file.WriteString("Main", "_Language", "Deutsch");
        ParseProfileInteger(Text(data, size));
    } catch (const std::exception&) {
    }
    return 0;
}

int LanguageFileParser(const std::uint8_t* data, std::size_t size) {
    try {
        LanguageFile file(InputFile("input.lng", Text(data, size)));
        const IniKey keys[] = {{"Message", "message_DeleteObject_S"},
                               {"Text", "text_LoadingData_D"},
                               {"frm_Main", "a_files_item_Open.Caption"},
                               {"text", "TEXT_LoadingData_D"}};
        const auto texts = file.Lookup(keys);
        if (texts[0])
            FormatString(ExpandLineBreaks(*texts[0]), "object");
        if (texts[1])
            FormatCount(ExpandLineBreaks(*texts[1]), 12);
    } catch (const std::exception&) {
    }
    return 0;
}

int JsonImport(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const cli::Json json = cli::Json::parse(Text(data + 1, size - 1), nullptr, false);
    if (json.is_discarded())
        return 0;
    try {
        TProjectRec project;
        ObjectTree tree;
        const TextCodec codec = CodecOf(data[0]);
        cli::ProjectFromJson(json, {codec, (data[0] & 2) != 0}, project, tree);
    } catch (const std::exception&) {
    }
    return 0;
}

// The code page byte, then the mask, a zero byte and the name.
int WildcardMatch(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view rest = Text(data + 1, size - 1);
    const std::size_t zero = std::min(rest.find('\0'), rest.size());
    Wildcard(rest.substr(0, zero), CodecOf(data[0]))
        .Matches(rest.substr(zero + (zero < rest.size())));
    return 0;
}

// A byte of settings (case, code page, fields), then the text, a zero byte and the field.
int SearchMatch(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    TFindRec settings;
    settings.CaseSensitive = (data[0] & 1) != 0;
    settings.Fields = static_cast<std::uint8_t>((data[0] >> 2) & AllFindFields);
    const std::string_view rest = Text(data + 1, size - 1);
    const std::size_t zero = std::min(rest.find('\0'), rest.size());
    settings.Text = rest.substr(0, zero);
    TNodeData record;
    record.Caption = record.Hint = record.PathFileName = record.Parameters = record.Comments =
        rest.substr(zero + (zero < rest.size()));
    FindMatcher(settings, CodecOf(data[0] >> 1)).Matches(record);
    return 0;
}

int JpegDecoder(const std::uint8_t* data, std::size_t size) {
    DecodeJpeg(QByteArrayView(data, static_cast<qsizetype>(size)));
    return 0;
}

constexpr FuzzTarget Targets[] = {
    {"project_reader", ProjectReader}, {"header_peek", HeaderPeek},
    {"ini_file", IniFileParser},       {"language_file", LanguageFileParser},
    {"json_import", JsonImport},       {"wildcard", WildcardMatch},
    {"search", SearchMatch},           {"jpeg_decoder", JpegDecoder},
};

}  // namespace

std::span<const FuzzTarget> FuzzTargets() {
    return Targets;
}

}  // namespace tomlet::fuzz
