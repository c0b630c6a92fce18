# Installs Tomlet as a desktop program (cmake --install) and packages it as a .deb (cpack).
#
#   <prefix>/bin/tomlet, tomlet-cli
#   <prefix>/share/tomlet/*.lng                      the language files (and an optional tomlet.ini)
#   <prefix>/share/applications/<id>.desktop        the menu entry, opening .tml files
#   <prefix>/share/icons/hicolor/<n>x<n>/apps/<id>.png
#   <prefix>/share/mime/packages/tomlet.xml          the .tml project type: name and signature
#   <prefix>/share/metainfo/<id>.metainfo.xml        the software centre's description
include(GNUInstallDirs)

set(TOMLET_APP_ID org.tomlet.Tomlet)  # reverse-DNS name of the desktop entry, metainfo and icon
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
install(FILES ${desktop_sources}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tomlet)

# cpack builds tomlet_<version>-1_<arch>.deb; dpkg-shlibdeps finds the libraries it needs.
# The desktop, icon and MIME caches are refreshed by the triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tomlet)
set(CPACK_PACKAGE_VENDOR "Tomlet developers")
set(CPACK_PACKAGE_CONTACT "Tomlet developers <developers@tomlet.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue builder and browser for discs and folder trees")
set(CPACK_PACKAGE_DESCRIPTION
    "Tomlet builds and shows a catalogue of a disc or folder tree. An author scans a data\n"
    "directory into a tree of typed objects, annotates them and saves a .tml project; an end\n"
    "user browses the tree, reads the comments and runs an object's action: open a folder,\n"
    "start a program, open a text or a document.\n"
    "\n"
    "The package holds the program, the command-line companion tomlet-cli and the English\n"
    "and Russian language files.")
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
include(CPack)
