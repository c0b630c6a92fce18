#pragma once

#include <string>
#include <string_view>

// How texts from a catalogue reach the web page: as data, never as markup or code.
namespace tomlet::web {

// A JavaScript string literal, in double quotes, holding the UTF-8 text: quotes, backslashes,
// control characters, the two line separators JavaScript once broke lines at and the characters
// of markup (< > &) are escaped, and bytes that are not UTF-8 become U+FFFD. Nothing in the text
// can end the literal.
std::string JsString(std::string_view utf8);

// The text for a page's markup: & < > " and ' written as character references.
std::string HtmlText(std::string_view utf8);

// One name of a link's path: every byte but letters, digits and - . _ ~ percent-encoded, so that
// no link can carry a scheme (":"), a query, a fragment or a separator of its own.
std::string PercentEncoded(std::string_view utf8Name);

// The text as the page searches it: every control character a blank, so that the separators the
// search data puts between fields can never occur in them.
std::string SearchableText(std::string_view utf8);

}  // namespace tomlet::web
