#include <windows.h>

#include "platform/case_fold.h"

namespace tomlet {

namespace {

// CharLowerBuffW and CharUpperBuffW know the user's locale but work on UTF-16; characters beyond
// the basic plane have no case mapping there.
char32_t MapCase(char32_t c, DWORD(WINAPI* map)(LPWSTR, DWORD)) {
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF))
        return c;
    wchar_t unit = static_cast<wchar_t>(c);
    map(&unit, 1);
    return static_cast<char32_t>(unit);
}

}  // namespace

char32_t LowerCase(char32_t c) {
    return MapCase(c, CharLowerBuffW);
}

char32_t UpperCase(char32_t c) {
    return MapCase(c, CharUpperBuffW);
}

}  // namespace tomlet
