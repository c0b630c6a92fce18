#include "support/scoped_environment.h"

#include <cstdlib>

namespace tomlet::testing {

namespace {

void SetVariable(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
    _putenv_s(name, value ? value->c_str() : "");  // an empty value removes it
#else
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
#endif
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name))
        m_old = old;
    SetVariable(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetVariable(m_name, m_old);
}

}  // namespace tomlet::testing
