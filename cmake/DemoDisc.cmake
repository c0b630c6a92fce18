# Lays out bin/ as a runnable disc: tomlet beside default.tml, the demo data and the language files.
set(DEMO_DISC_SOURCE ${PROJECT_SOURCE_DIR}/examples/demo-disc)
set(DEMO_DISC_OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
file(GLOB TOMLET_LANGUAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/languages/*.lng)

if(EXISTS ${DEMO_DISC_SOURCE}/project.json)
    # The catalogue names its data directory as ".": the disc's own folder, wherever the disc is
    # copied to, so that the editor can add, scan and pick files on it as shipped.
    set(DEMO_DISC_PROJECT ${DEMO_DISC_SOURCE}/project.json)

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
