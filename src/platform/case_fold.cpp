#include "platform/case_fold.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#include <string.h>
#include <wctype.h>

#include <initializer_list>
#endif

namespace tomlet {

#ifdef _WIN32

char32_t LowerCase(char32_t c) {
    // CharLowerBuffW knows the user's locale but works on UTF-16; characters beyond the basic
    // plane have no case mapping there.
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF))
        return c;
    wchar_t unit = static_cast<wchar_t>(c);
    CharLowerBuffW(&unit, 1);
    return static_cast<char32_t>(unit);
}

#else

namespace {

// The environment's own character classes when they are a Unicode locale's, otherwise those of
// the UTF-8 C locale; the plain C locale only knows ASCII letters.
locale_t CaseLocale() {
    static const locale_t locale = [] {
        if (locale_t own = newlocale(LC_CTYPE_MASK, "", locale_t{})) {
            if (strcmp(nl_langinfo_l(CODESET, own), "UTF-8") == 0)
                return own;
            freelocale(own);
        }
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
            if (locale_t utf8 = newlocale(LC_CTYPE_MASK, name, locale_t{}))
                return utf8;
        return locale_t{};
    }();
    return locale;
}

}  // namespace

char32_t LowerCase(char32_t c) {
    if (c > 0x10FFFF)
        return c;
    const locale_t locale = CaseLocale();
    if (locale == locale_t{})
        return c >= U'A' && c <= U'Z' ? c + 0x20 : c;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
}

#endif

}  // namespace tomlet
