# Installs Tomlet as a desktop program (cmake --install) and packages it as a .deb (cpack).
#
#   <prefix>/bin/tomlet, tomlet-cli
#   <prefix>/share/tomlet/*.lng                      the language files (and an optional tomlet.ini)
#   <prefix>/share/applications/<id>.desktop        the menu entry, opening .tml files
#   <prefix>/share/icons/hicolor/<n>x<n>/apps/<id>.png
#   <prefix>/share/mime/packages/tomlet.xml          the .tml project type: name and signature
#   <prefix>/share/metainfo/<id>.metainfo.xml        the software centre's description
#   <prefix>/share/man/man1/tomlet.1.gz, tomlet-cli.1.gz
#   <prefix>/share/doc/tomlet/copyright, changelog.Debian.gz
include(GNUInstallDirs)

# tomlet_rfc2822_date(<yyyy-mm-dd> <out-var>): "Tue, 8 Dec 2026 00:00:00 +0000", the date of a
# Debian changelog entry.
function(tomlet_rfc2822_date date out)
    string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-0?([0-9]+)$" matched ${date})
    set(year ${CMAKE_MATCH_1})
    set(month ${CMAKE_MATCH_2})
    set(day ${CMAKE_MATCH_3})
    # Sakamoto's rule for the day of the week; 0 is Sunday.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    set(y ${year})
    if(month LESS 3)
        math(EXPR y "${year} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET weekdays ${weekday} weekday_name)
    list(GET months ${index} month_name)
    set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

set(TOMLET_APP_ID org.tomlet.Tomlet)  # reverse-DNS name of the desktop entry, metainfo and icon
# The running program names its desktop entry, so that the desktop matches its windows to it.
target_compile_definitions(tomlet PRIVATE TOMLET_DESKTOP_FILE_NAME="${TOMLET_APP_ID}")
set(TOMLET_MIME_TYPE application/x-tomlet-project)
set(TOMLET_HOMEPAGE_URL https://tomlet.org)
set(TOMLET_LICENSE LicenseRef-proprietary)
set(TOMLET_RELEASE_DATE 2026-12-08)  # of the release PROJECT_VERSION names
set(TOMLET_ICON_SIZES 16 22 24 32 48 64 128 256)  # resources/icons/tomlet-<n>.png

# An installed tomlet lies in bin/, which holds no data: it takes its language files and
# tomlet.ini from the share folder found at this path from its own folder.
set(TOMLET_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tomlet)
cmake_path(RELATIVE_PATH CMAKE_INSTALL_FULL_DATADIR BASE_DIRECTORY ${CMAKE_INSTALL_FULL_BINDIR}
           OUTPUT_VARIABLE TOMLET_INSTALLED_DATA_FOLDER)
cmake_path(APPEND TOMLET_INSTALLED_DATA_FOLDER tomlet)
target_compile_definitions(tomlet_platform PRIVATE
    TOMLET_INSTALLED_DATA_FOLDER="${TOMLET_INSTALLED_DATA_FOLDER}")

install(TARGETS tomlet tomlet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/languages/ DESTINATION ${TOMLET_INSTALL_DATA_DIR}
        FILES_MATCHING PATTERN "*.lng")

if(NOT UNIX OR APPLE)
    return()
endif()

# The freedesktop files, with the names and version filled in; tests read them from here too.
set(TOMLET_DESKTOP_BUILD_DIR ${CMAKE_BINARY_DIR}/desktop)
set(TOMLET_DESKTOP_FILE ${TOMLET_DESKTOP_BUILD_DIR}/applications/${TOMLET_APP_ID}.desktop)
set(TOMLET_MIME_FILE ${TOMLET_DESKTOP_BUILD_DIR}/mime/packages/tomlet.xml)
set(TOMLET_METAINFO_FILE ${TOMLET_DESKTOP_BUILD_DIR}/metainfo/${TOMLET_APP_ID}.metainfo.xml)
set(desktop_sources ${PROJECT_SOURCE_DIR}/resources/desktop)
configure_file(${desktop_sources}/tomlet.desktop.in ${TOMLET_DESKTOP_FILE} @ONLY)
configure_file(${desktop_sources}/tomlet-mime.xml.in ${TOMLET_MIME_FILE} @ONLY)
configure_file(${desktop_sources}/tomlet.metainfo.xml.in ${TOMLET_METAINFO_FILE} @ONLY)

install(FILES ${TOMLET_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TOMLET_MIME_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${TOMLET_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS TOMLET_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tomlet-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TOMLET_APP_ID}.png)
endforeach()

# Manual pages and the Debian changelog, compressed as Debian wants them: gzip without a timestamp.
function(tomlet_install_gzipped source destination)
    cmake_path(GET source FILENAME name)
    set(compressed ${TOMLET_DESKTOP_BUILD_DIR}/${name}.gz)
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${compressed}
                    COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${compressed} DESTINATION ${destination})
endfunction()
foreach(page tomlet.1 tomlet-cli.1)
    set(source ${PROJECT_SOURCE_DIR}/resources/man/${page})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    tomlet_install_gzipped(${source} ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# cpack builds tomlet_<version>-1_<arch>.deb; dpkg-shlibdeps finds the libraries it needs.
# The desktop, icon and MIME caches are refreshed by the triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tomlet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})  # with the build number
set(CPACK_PACKAGE_VENDOR "Tomlet developers")
set(CPACK_PACKAGE_CONTACT "Tomlet developers <developers@tomlet.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue builder and browser for discs and folder trees")
set(CPACK_PACKAGE_DESCRIPTION
    "Tomlet builds and shows a catalogue of a disc or folder tree. An author\n"
    "scans a data directory into a tree of typed objects, annotates them and\n"
    "saves a .tml project; an end user browses the tree, reads the comments\n"
    "and runs an object's action: open a folder, start a program, open a text\n"
    "or a document.\n"
    "\n"
    "The package holds the program, the command-line companion tomlet-cli\n"
    "and the English and Russian language files.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TOMLET_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt only recommends its window-system plugins; without them the program cannot start.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(TOMLET_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
tomlet_rfc2822_date(${TOMLET_RELEASE_DATE} TOMLET_RELEASE_DATE_RFC2822)
set(changelog ${TOMLET_DESKTOP_BUILD_DIR}/changelog.Debian)
configure_file(${desktop_sources}/changelog.Debian.in ${changelog} @ONLY)
tomlet_install_gzipped(${changelog} ${CMAKE_INSTALL_DATADIR}/doc/tomlet)
install(FILES ${desktop_sources}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tomlet)
include(CPack)
