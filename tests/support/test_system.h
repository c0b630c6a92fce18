#pragma once

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tomlet::testing {

#ifdef _WIN32
inline constexpr bool OnWindows = true;
#else
inline constexpr bool OnWindows = false;
#endif

// Windows marks every file it writes for backup with the archive attribute.
inline constexpr const char* NewFileAttributes = OnWindows ? "archive" : "no attributes";

// The superuser writes read-only files anyway (so does Wine run by root).
inline bool RunsAsSuperuser() {
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}

}  // namespace tomlet::testing

// Ends a test that holds only elsewhere than on Windows as skipped there, saying why.
#define SKIP_ON_WINDOWS(reason)           \
    do {                                  \
        if (::tomlet::testing::OnWindows) \
            GTEST_SKIP() << (reason);     \
    } while (false)
