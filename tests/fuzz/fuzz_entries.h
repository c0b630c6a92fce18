#pragma once

#include <cstddef>
#include <cstdint>

// The entry of every fuzz target (fuzz_targets.h), by the file that holds it.
namespace tomlet::fuzz {

// parser_targets.cpp
int ProjectReader(const std::uint8_t* data, std::size_t size);
int HeaderPeek(const std::uint8_t* data, std::size_t size);
int IniFileParser(const std::uint8_t* data, std::size_t size);
int LanguageFileParser(const std::uint8_t* data, std::size_t size);
int JsonImport(const std::uint8_t* data, std::size_t size);
int WildcardMatch(const std::uint8_t* data, std::size_t size);
int SearchMatch(const std::uint8_t* data, std::size_t size);
int JpegDecoder(const std::uint8_t* data, std::size_t size);

// text_targets.cpp
int CodePageConversion(const std::uint8_t* data, std::size_t size);
int RunQuestionAndHint(const std::uint8_t* data, std::size_t size);
int CliArguments(const std::uint8_t* data, std::size_t size);

// disc_targets.cpp
int PathRulesAndContainment(const std::uint8_t* data, std::size_t size);
int UpdateChanges(const std::uint8_t* data, std::size_t size);

// round_trip_targets.cpp
int ExportImportExport(const std::uint8_t* data, std::size_t size);

// preference_targets.cpp
int PreferencesAndRecentProjects(const std::uint8_t* data, std::size_t size);

}  // namespace tomlet::fuzz
