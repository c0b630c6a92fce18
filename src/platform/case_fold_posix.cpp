#include <langinfo.h>
#include <locale.h>
#include <string.h>
#include <wctype.h>

#include <initializer_list>

#include "platform/case_fold.h"

namespace tomlet {

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

char32_t UpperCase(char32_t c) {
    if (c > 0x10FFFF)
        return c;
    const locale_t locale = CaseLocale();
    if (locale == locale_t{})
        return c >= U'a' && c <= U'z' ? c - 0x20 : c;
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
}

}  // namespace tomlet
