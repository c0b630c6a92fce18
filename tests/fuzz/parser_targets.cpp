// The parsers of what a disc or a user hands the program: project files, INI and language files,
// JSON, file masks, search texts and JPEG pictures.
#include <QByteArrayView>
#include <exception>
#include <string>

#include "cli/json_project.h"
#include "core/catalogue.h"
#include "core/ini_file.h"
#include "core/language_file.h"
#include "core/project_file.h"
#include "core/search.h"
#include "core/wildcard.h"
#include "fuzz_entries.h"
#include "fuzz_input.h"
#include "ui/progress/jpeg_decoder.h"

namespace tomlet::fuzz {

namespace {

// The first byte picks the code page the rest is in.
constexpr int Utf8Or1251[] = {TextCodec::Utf8, 1251};

}  // namespace

int ProjectReader(const std::uint8_t* data, std::size_t size) {
    TProjectRec project;
    ObjectTree tree;
    SilentProgress silent;
    ReadProjectFile(InputFile("input.tml", AsText(data, size)), project, tree, silent, silent);
    return 0;
}

int HeaderPeek(const std::uint8_t* data, std::size_t size) {
    SplashSettings settings;
    const std::string path = InputFile("input.tml", AsText(data, size));
    PeekSplashSettings(path, path.substr(0, path.size() - 9), settings);
    return 0;
}

int IniFileParser(const std::uint8_t* data, std::size_t size) {
    try {
        IniFile file(InputFile("input.ini", AsText(data, size)));
        file.ReadBool("Main", "_Caption", true);
        file.ReadString("Default", "_DefaultFile", "");
        file.WriteString("Main", "_Language", "Deutsch");
        ParseProfileInteger(AsText(data, size));
    } catch (const std::exception&) {
    }
    return 0;
}

int LanguageFileParser(const std::uint8_t* data, std::size_t size) {
    try {
        LanguageFile file(InputFile("input.lng", AsText(data, size)));
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
    const cli::Json json = cli::Json::parse(AsText(data + 1, size - 1), nullptr, false);
    if (json.is_discarded())
        return 0;
    try {
        TProjectRec project;
        ObjectTree tree;
        const TextCodec codec = CodecOf(data[0], Utf8Or1251);
        cli::ProjectFromJson(json, {codec, (data[0] & 2) != 0}, project, tree);
    } catch (const std::exception&) {
    }
    return 0;
}

// The code page byte, then the mask, a zero byte and the name.
int WildcardMatch(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view rest = AsText(data + 1, size - 1);
    const std::size_t zero = std::min(rest.find('\0'), rest.size());
    Wildcard(rest.substr(0, zero), CodecOf(data[0], Utf8Or1251))
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
    const std::string_view rest = AsText(data + 1, size - 1);
    const std::size_t zero = std::min(rest.find('\0'), rest.size());
    settings.Text = rest.substr(0, zero);
    TNodeData record;
    record.Caption = record.Hint = record.PathFileName = record.Parameters = record.Comments =
        rest.substr(zero + (zero < rest.size()));
    FindMatcher(settings, CodecOf(data[0] >> 1, Utf8Or1251)).Matches(record);
    return 0;
}

// Inputs of odd length are decoded as the splash decodes a picture larger than the screen.
int JpegDecoder(const std::uint8_t* data, std::size_t size) {
    DecodeJpeg(QByteArrayView(data, static_cast<qsizetype>(size)),
               size % 2 == 1 ? QSize(120, 90) : QSize());
    return 0;
}

}  // namespace tomlet::fuzz
