#include "ui/base/error_policy.h"

namespace tomlet {

bool RunIgnoringErrors(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (...) {
        // Only the places whose rules say that an error is not reported come here.
        return false;
    }
}

}  // namespace tomlet
