# tomlet_add_version_resource(<target> <description>)
# Gives a Windows executable a version resource, the program icon and its manifest (Windows 10 and
# 11, per-monitor DPI awareness, long paths), made from the project
# version, so that the about window and the caption read the version from the file itself. A Debug
# build carries the debug flag, as a build without NDEBUG reports it elsewhere. Elsewhere the
# version is compiled in (see tomlet_options) and this does nothing.
function(tomlet_add_version_resource target description)
    if(NOT WIN32)
        return()
    endif()
    set(TOMLET_TARGET_NAME ${target})
    set(TOMLET_FILE_DESCRIPTION ${description})
    set(TOMLET_ICON_FILE ${PROJECT_SOURCE_DIR}/resources/tomlet.ico)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version)
    set(TOMLET_MANIFEST_FILE ${rc}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/tomlet.manifest ${TOMLET_MANIFEST_FILE} @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc}.rc.in @ONLY)
    file(GENERATE OUTPUT ${rc}_$<CONFIG>.rc INPUT ${rc}.rc.in)
    target_sources(${target} PRIVATE ${rc}_$<CONFIG>.rc)
endfunction()
