# One INTERFACE target carries the language level, warnings and Qt strictness for every target.
add_library(tomlet_options INTERFACE)
target_compile_features(tomlet_options INTERFACE cxx_std_20)
set_target_properties(tomlet_options PROPERTIES INTERFACE_CXX_EXTENSIONS OFF)
target_compile_options(tomlet_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>
    $<$<CXX_COMPILER_ID:MSVC>:/W4 /utf-8>)
# GCC 12 takes std::string's inlined inserts for overlapping copies (GCC bug 105329); the
# mingw-w64 build meets it wherever a text is put before a string.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(tomlet_options INTERFACE -Wno-restrict)
endif()
target_compile_definitions(tomlet_options INTERFACE
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_KEYWORDS
    QT_NO_FOREACH
    QT_USE_QSTRINGBUILDER
    TOMLET_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    TOMLET_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    TOMLET_VERSION_RELEASE=${PROJECT_VERSION_PATCH}
    TOMLET_VERSION_BUILD=${PROJECT_VERSION_TWEAK})

if(TOMLET_SANITIZE)
    target_compile_options(tomlet_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tomlet_options INTERFACE -fsanitize=address,undefined)
endif()

if(TOMLET_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TOMLET_FUZZ needs clang (scripts/fuzz.sh configures it)")
    endif()
    target_compile_options(tomlet_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(tomlet_options INTERFACE -fsanitize=address,undefined)
endif()
