#include "fuzz_targets.h"

#include "fuzz_entries.h"

namespace tomlet::fuzz {

namespace {

constexpr FuzzTarget Targets[] = {
    {"project_reader", ProjectReader},
    {"header_peek", HeaderPeek},
    {"ini_file", IniFileParser},
    {"language_file", LanguageFileParser},
    {"json_import", JsonImport},
    {"wildcard", WildcardMatch},
    {"search", SearchMatch},
    {"jpeg_decoder", JpegDecoder},
    {"code_page", CodePageConversion},
    {"run_question", RunQuestionAndHint},
    {"cli_arguments", CliArguments},
    {"path_rules", PathRulesAndContainment},
    {"update_changes", UpdateChanges},
    {"export_import", ExportImportExport},
    {"preferences", PreferencesAndRecentProjects},
};

}  // namespace

std::span<const FuzzTarget> FuzzTargets() {
    return Targets;
}

}  // namespace tomlet::fuzz
