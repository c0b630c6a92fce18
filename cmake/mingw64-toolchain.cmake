# Cross-builds Tomlet for 64-bit Windows with mingw-w64 (the POSIX-threads compilers) against a
# dependency prefix: Qt, libjpeg-turbo, GoogleTest and nlohmann-json built for mingw, as
# scripts/build-windows-deps.sh makes it. scripts/test-windows.sh passes both:
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw64-toolchain.cmake \
#         -DTOMLET_WINDOWS_DEPS=/path/to/windows-deps
#
# Programs built here run under wine64 (scripts/wine-run.sh), so CTest and the build's own steps
# can start them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOMLET_MINGW_TRIPLE x86_64-w64-mingw32)

# try_compile projects see the toolchain file again; the variable travels with them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOMLET_WINDOWS_DEPS)
if(NOT TOMLET_WINDOWS_DEPS AND DEFINED ENV{TOMLET_WINDOWS_DEPS})
    set(TOMLET_WINDOWS_DEPS $ENV{TOMLET_WINDOWS_DEPS})
endif()
if(NOT IS_DIRECTORY "${TOMLET_WINDOWS_DEPS}")
    message(FATAL_ERROR "TOMLET_WINDOWS_DEPS must name the Windows dependency prefix "
                        "(scripts/build-windows-deps.sh builds one); it is '${TOMLET_WINDOWS_DEPS}'")
endif()
set(TOMLET_WINDOWS_DEPS "${TOMLET_WINDOWS_DEPS}" CACHE PATH "Windows dependency prefix")

set(CMAKE_C_COMPILER ${TOMLET_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOMLET_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TOMLET_MINGW_TRIPLE}-windres)

# Libraries, headers and packages come from the prefix and the mingw sysroot; programs (moc, rcc
# and uic of the host's Qt of the same version) from the host.
list(PREPEND CMAKE_FIND_ROOT_PATH "${TOMLET_WINDOWS_DEPS}" /usr/${TOMLET_MINGW_TRIPLE})
list(PREPEND CMAKE_PREFIX_PATH "${TOMLET_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(QT_HOST_PATH /usr CACHE PATH "The host's Qt, whose tools the build runs")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "The host Qt's packages")

# The C and C++ runtimes are linked in, as the prefix's Qt DLLs link them: nothing but Qt to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh;--dlls;${TOMLET_WINDOWS_DEPS}/bin")
