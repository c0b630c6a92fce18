#pragma once

#include <optional>
#include <string>

namespace tomlet::testing {

// Sets an environment variable for one scope and puts the old value back afterwards.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

}  // namespace tomlet::testing
