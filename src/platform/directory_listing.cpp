#include "platform/directory_listing.h"

#include <algorithm>

namespace tomlet {

namespace {

unsigned char UpperCase(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

}  // namespace

bool NameLessIgnoringCase(const std::string& left, const std::string& right) {
    const size_t common = std::min(left.size(), right.size());
    for (size_t i = 0; i < common; ++i) {
        const auto a = UpperCase(static_cast<unsigned char>(left[i]));
        const auto b = UpperCase(static_cast<unsigned char>(right[i]));
        if (a != b)
            return a < b;
    }
    if (left.size() != right.size())
        return left.size() < right.size();
    return left < right;
}

}  // namespace tomlet
