#pragma once

#include <string>
#include <string_view>

namespace tomlet {

// Standard output and error as tomlet-cli writes them, UTF-8: as bytes to pipes and files on
// every system; to a Windows console through the wide console API, which shows every character
// whatever the console's code page. Call before anything is written.
void UseUnicodeConsole();

// UTF-8 handed over in pieces, given on in whole characters: a sequence cut at the end of a piece
// waits for the rest of it.
class Utf8Pieces final {
public:
    // The whole characters that have come so far and were not taken yet.
    std::string Take(std::string_view piece);

private:
    std::string m_pending;
};

}  // namespace tomlet
