#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "core/shelf.h"

namespace tomlet {

class SqliteDatabase;

// The text-index query that finds every object whose indexed text holds all the trigrams of the
// folded text: every hit, and a few objects that hold the trigrams apart. Nothing for a text of
// fewer than three characters, which has no trigram.
std::optional<std::string> TrigramQuery(std::string_view text);

// Shelf::Search on a connection of its own.
ShelfHits SearchShelf(SqliteDatabase& database, const ShelfQuery& query, std::stop_token stop,
                      const std::function<void(const ShelfHits&)>& firstHits);

}  // namespace tomlet
