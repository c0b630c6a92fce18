// Texts the program converts and composes: code page conversion, the question before running an
// object outside the disc with the object's hint, and tomlet-cli's command line.
#include <exception>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/catalogue.h"
#include "core/object_actions.h"
#include "core/object_hint.h"
#include "core/visible_text.h"
#include "fuzz_entries.h"
#include "fuzz_input.h"
#include "platform/case_fold.h"
#include "platform/utf8.h"

namespace tomlet::fuzz {

namespace {

// Single-byte, double-byte and UTF-8, and one the system does not know.
constexpr int CodePages[] = {1250,  1251,  1252,  1253, 1254, 1255, 1256, 1257,  1258,  866,
                             20866, 28591, 28595, 932,  936,  949,  950,  54936, 65001, 49999};

// Code pages whose every text comes back from UTF-8 byte for byte: not the double-byte ones,
// which map some characters twice, nor 1255 and 1258, whose converters compose letters with the
// marks that follow them.
bool RoundTripsWhole(int codePage) {
    return codePage != 1255 && codePage != 1258 && codePage != 932 && codePage != 936 &&
           codePage != 949 && codePage != 950 && codePage != 54936;
}

bool HoldsHiddenControl(std::string_view utf8, std::string_view allowed = {}) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = p + utf8.size();
    while (p != end) {
        const char32_t c = DecodeUtf8(p, end);
        if (c < StrayByte && IsHiddenControl(c) &&
            (c >= 0x80 || allowed.find(static_cast<char>(c)) == std::string_view::npos))
            return true;
    }
    return false;
}

void CheckSeparatorsStandAlone(const TextCodec& codec, std::string_view bytes) {
    std::size_t last = std::string_view::npos;
    for (std::size_t at = codec.FindAscii(bytes, "\\/"); at != std::string_view::npos;
         at = codec.FindAscii(bytes, "\\/", at + 1)) {
        Require(bytes[at] == '\\' || bytes[at] == '/', "FindAscii gives a separator");
        last = at;
    }
    Require(codec.FindLastAscii(bytes, "\\/") == last, "FindLastAscii gives the last separator");
    if (last == std::string_view::npos)
        return;
    // A separator found stands between two characters as the converter reads the text, which is
    // how the system reads a path: each side converts on its own.
    const std::string whole = codec.ToUtf8(bytes);
    Require(
        codec.ToUtf8(bytes.substr(0, last)) + bytes[last] + codec.ToUtf8(bytes.substr(last + 1)) ==
            whole,
        "a separator found by characters is a character of its own");
}

}  // namespace

int CodePageConversion(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const TextCodec codec = CodecOf(input.Byte(), CodePages);
    const std::string_view bytes = input.Rest();

    const std::string utf8 = codec.ToUtf8(bytes);
    Require(utf8::IsWellFormed(utf8), "ToUtf8 gives well-formed UTF-8");
    if (RoundTripsWhole(codec.CodePage()) && utf8.find(utf8::Replacement) == std::string::npos)
        Require(codec.FromUtf8(utf8) == bytes, "a text converted without loss comes back");
    const std::string converted = codec.FromUtf8(bytes);
    if (const auto exact = codec.FromUtf8Exactly(bytes))
        Require(*exact == converted, "an exact conversion is the conversion");
    CheckSeparatorsStandAlone(codec, bytes);
    Require(codec.ReplaceAscii(bytes, '\\', '/').size() == bytes.size(),
            "replacing separators keeps the length");
    return 0;
}

// A code page byte, a flag byte (bit 0: the question's text comes from the input), then the
// caption, hint, comments, parameters, path and question texts, each ended by a zero byte.
int RunQuestionAndHint(const std::uint8_t* data, std::size_t size) {
    static constexpr int QuestionCodePages[] = {TextCodec::Utf8, 1251, 1255, 28591};
    FuzzInput input(data, size);
    const ScopedProcessCodePage codePage(CodecOf(input.Byte(), QuestionCodePages).CodePage());
    const TextCodec& codec = ProcessCodec();
    const bool translated = (input.Byte() & 1) != 0;
    TNodeData record;
    record.Caption = input.Text();
    record.Hint = input.Text();
    record.Comments = input.Text();
    record.Parameters = input.Text();
    record.PathFileName = input.Text();
    record.ObjectType = otExecuteFile;
    record.ObjectAction = oaExecute;
    ResetCatalogue();
    if (translated)
        SetText(TextId::message_RunOutsideDisc_S, std::string(input.Text()));

    ActionContext disc;
    disc.DataDir = "C:\\disc";
    disc.Rules = PathRules::Windows();
    const ObjectCommand commands[] = {PlanObjectAction(record, OwnAction, disc),
                                      {.What = ObjectCommand::Kind::StartProgram,
                                       .Target = record.PathFileName,
                                       .Arguments = SplitParameters(record.Parameters)}};
    for (const ObjectCommand& command : commands) {
        const std::string described = DescribeCommand(command);
        Require(!HoldsHiddenControl(codec.ToUtf8(described)), "the command is shown escaped");
        if (described.empty() ||
            Text(TextId::message_RunOutsideDisc_S).find("%s") == std::string::npos)
            continue;  // nothing is asked about
        const std::string question = RunOutsideDiscQuestion(command);
        const auto isBreak = [&](std::size_t at) {
            return question[at] == '\r' || question[at] == '\n';
        };
        bool onItsOwnLine = false;
        for (std::size_t at = question.find(described); at != std::string::npos && !onItsOwnLine;
             at = question.find(described, at + 1)) {
            const std::size_t after = at + described.size();
            onItsOwnLine =
                (at == 0 || isBreak(at - 1)) && (after == question.size() || isBreak(after));
        }
        Require(onItsOwnLine, "the question shows the command on a line of its own");
    }

    ResetCatalogue();
    const std::string hint = ObjectHintText(record, InputFile("hinted", {}) + record.PathFileName);
    Require(!HoldsHiddenControl(codec.ToUtf8(hint), "\r"), "the hint shows its texts escaped");
    int labelled = 0;
    for (std::size_t start = 0; start <= hint.size();) {
        const std::size_t end = std::min(hint.find('\r', start), hint.size());
        labelled += hint.compare(start, 3, "  *") == 0 ? 1 : 0;
        start = end + 1;
    }
    Require(hint.starts_with(" - - -  ") && labelled == 6, "no text forges a labelled line");
    return 0;
}

// Arguments separated by zero bytes, parsed as each command takes its arguments.
int CliArguments(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::vector<std::string> raw;
    while (!input.Empty())
        raw.emplace_back(input.Text());
    for (const cli::Command& command : cli::Commands()) {
        try {
            const cli::Arguments arguments(raw, command.Options, command.Flags);
            arguments.Codec();
            arguments.Options("--mask");
            arguments.Option("-o");
            arguments.Flag("--lossy");
            arguments.Single();
        } catch (const cli::UsageError&) {
        }
    }
    return 0;
}

}  // namespace tomlet::fuzz
