# The Windows release, made by every build of the windows preset that has the
# window: marrowick-<version>-windows-x64.zip in the build folder
# (cmake/windows_zip.cmake), and the test that runs it from an empty folder.
find_program(MARROWICK_GROFF groff REQUIRED)  # Debian: groff, for its HTML output
find_program(MARROWICK_ZIP zip REQUIRED)
set(MARROWICK_WINDOWS_ZIP ${PROJECT_BINARY_DIR}/marrowick-${PROJECT_VERSION}-windows-x64.zip)

execute_process(COMMAND date -u -d ${MARROWICK_RELEASE_DATE} +%s OUTPUT_VARIABLE release_epoch
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(man_pages)
foreach(page marrowick marrowick-inspect)
    configure_file(${PROJECT_SOURCE_DIR}/data/man/${page}.1.in windows-man/${page}.1 @ONLY)
    list(APPEND man_pages ${PROJECT_BINARY_DIR}/windows-man/${page}.1)
endforeach()
# Both platform plugins: windows for the desktop, offscreen for starting without one.
set(plugins platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll)
set(documents ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE)
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_plugins ${qt_bin}/../plugins ABSOLUTE)

add_custom_command(
    OUTPUT ${MARROWICK_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -DZIP=${MARROWICK_WINDOWS_ZIP} -DSTAGE=${PROJECT_BINARY_DIR}/windows-zip
            "-DPROGRAMS=$<TARGET_FILE:marrowick>;$<TARGET_FILE:marrowick-inspect>"
            "-DPLUGINS=${plugins}" -DQT_PLUGINS=${qt_plugins}
            "-DDLL_DIRS=${MARROWICK_MINGW_RUNTIME_DIRS};${qt_bin}" "-DDOCUMENTS=${documents}"
            "-DMAN_PAGES=${man_pages}" -DGROFF=${MARROWICK_GROFF} -DZIP_PROGRAM=${MARROWICK_ZIP}
            -DSTRIP=${CMAKE_STRIP} -DOBJDUMP=${CMAKE_OBJDUMP} -DEPOCH=${release_epoch}
            -P ${PROJECT_SOURCE_DIR}/cmake/windows_zip.cmake
    DEPENDS marrowick marrowick-inspect ${PROJECT_SOURCE_DIR}/cmake/windows_zip.cmake
            ${documents} ${man_pages}
    COMMENT "Packing ${MARROWICK_WINDOWS_ZIP}"
    VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${MARROWICK_WINDOWS_ZIP})

if(BUILD_TESTING)
    list(GET CMAKE_CROSSCOMPILING_EMULATOR 1 wine_run)
    list(GET CMAKE_CROSSCOMPILING_EMULATOR 2 wine_prefix)
    add_test(NAME windows_zip
             COMMAND /bin/sh ${PROJECT_SOURCE_DIR}/tests/windows_zip/smoke.sh
                     ${MARROWICK_WINDOWS_ZIP} ${PROJECT_VERSION} ${wine_run} ${wine_prefix}
                     ${CMAKE_OBJDUMP} ${PROJECT_BINARY_DIR}/windows-zip-smoke)
    set_tests_properties(windows_zip PROPERTIES TIMEOUT 120)
endif()
