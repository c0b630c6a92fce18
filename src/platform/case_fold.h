#pragma once

namespace tomlet {

// The lower-case form of one character (a Unicode code point) by the system's locale rules, so
// that letters beyond ASCII fold too. It does not depend on the process's C locale: where that is
// the plain C or POSIX locale, the rules of the UTF-8 C locale apply. Values that are not
// characters come back unchanged.
char32_t LowerCase(char32_t c);

}  // namespace tomlet
