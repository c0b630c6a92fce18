#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tomlet {

class TextCodec;

// Lower-casing of texts in the program's code pages, shared by search and file masks: UTF-8
// character by character through the system's rules (platform/case_fold.h), a single-byte code
// page byte by byte through a table made from those rules.

// What each byte becomes.
using ByteFoldTable = std::array<unsigned char, 256>;
ByteFoldTable IdentityTable();
// ASCII letters whose lower case is ASCII too lower-cased; every other byte itself.
ByteFoldTable AsciiFoldTable();
// The lower-case byte of every byte of a single-byte code page. A byte keeps itself where its
// lower-case letter has no byte of its own.
ByteFoldTable CodePageFoldTable(const TextCodec& codec);

// UTF-8 text lower-cased character by character as search folds it. Every character stays one
// character (stray bytes stay as they are), so a folded text holds a folded search text exactly
// where the text holds the search text ignoring case.
std::string FoldedUtf8(std::string_view text);

// Characters of UTF-8 text, stray bytes as StrayByte plus their value.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(char32_t c);

}  // namespace tomlet
