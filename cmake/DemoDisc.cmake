# Lays out bin/ as a runnable disc: tomlet beside default.tml, the demo data and the language files.
set(DEMO_DISC_SOURCE ${PROJECT_SOURCE_DIR}/examples/demo-disc)
set(DEMO_DISC_OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
file(GLOB TOMLET_LANGUAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/languages/*.lng)

if(EXISTS ${DEMO_DISC_SOURCE}/project.json)
    # The kept catalogue names no data directory (it travels); the staged one names the disc
    # itself, so that the editor can add, scan and pick files on it as shipped.
    file(READ ${DEMO_DISC_SOURCE}/project.json demo_project)
    cmake_path(NATIVE_PATH DEMO_DISC_OUTPUT demo_data_dir)
    string(REPLACE "\\" "\\\\" demo_data_dir "${demo_data_dir}")
    string(REPLACE "\"" "\\\"" demo_data_dir "${demo_data_dir}")
    string(JSON demo_project SET "${demo_project}" project ProjectDataDir "\"${demo_data_dir}\"")
    set(DEMO_DISC_PROJECT ${CMAKE_BINARY_DIR}/demo-disc-project.json)
    file(WRITE ${DEMO_DISC_PROJECT}.new "${demo_project}")
    configure_file(${DEMO_DISC_PROJECT}.new ${DEMO_DISC_PROJECT} COPYONLY)  # rebuilt on change only
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DEMO_DISC_SOURCE}/project.json)

    file(GLOB_RECURSE DEMO_DISC_FILES CONFIGURE_DEPENDS ${DEMO_DISC_SOURCE}/disc/*)
    add_custom_command(
        OUTPUT ${DEMO_DISC_OUTPUT}/default.tml
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${DEMO_DISC_SOURCE}/disc ${DEMO_DISC_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E copy ${TOMLET_LANGUAGE_FILES} ${DEMO_DISC_OUTPUT}
        COMMAND tomlet-cli import ${DEMO_DISC_PROJECT} -o ${DEMO_DISC_OUTPUT}/default.tml
        DEPENDS tomlet-cli ${DEMO_DISC_PROJECT} ${DEMO_DISC_FILES} ${TOMLET_LANGUAGE_FILES}
        COMMENT "Laying out the demo disc"
        VERBATIM)
    add_custom_target(demo_disc ALL DEPENDS ${DEMO_DISC_OUTPUT}/default.tml)
endif()
