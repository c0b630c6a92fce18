#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What the projects' code page (ProjectCodec) can store of the texts the program holds, and what
// a catalogue's bytes say about the code page it was written in.
namespace tomlet {

// The characters of `text` (process code page) that the projects' code page lacks, each once in
// the order they first stand, separated by blanks; empty when it holds them all.
std::string UnheldCharacters(std::string_view text);
// The refusal of such characters: it names them and how to store them (_CodePage=65001).
std::string UnheldCharactersText(std::string_view characters);
// The refusal of the first of `texts` whose characters the projects' code page cannot hold;
// nothing when it holds them all.
std::optional<std::string> RefuseUnheldTexts(std::span<const std::string_view> texts);

// Whether a text stored in `codePage` reads as written there: it decodes, and a Western code
// page shows no run of accented letters that only another script's bytes make.
bool ReadsRightIn(int codePage, std::string_view stored);
// A code page other than `codePage` in which every one of `stored` reads right; only a guess.
std::optional<int> GuessCodePage(int codePage, std::span<const std::string> stored);
// The notice for a catalogue whose texts do not read right in `codePage`, offering the guess.
std::string TextsDoNotDecodeText(int codePage, std::optional<int> guess);

}  // namespace tomlet
