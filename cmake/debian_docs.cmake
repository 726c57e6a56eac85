# Run by CPack on the package's tree, after the install and before the package
# is written: compresses the manual pages and adds the copyright and changelog.
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
if(NOT IS_DIRECTORY ${root}/usr)
    message(FATAL_ERROR "no package tree at ${root}")
endif()

file(GLOB pages ${root}/usr/share/man/man1/*.1)
foreach(page IN LISTS pages)
    execute_process(COMMAND gzip -9nf ${page} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

set(docs ${root}/usr/share/doc/${CPACK_PACKAGE_NAME})
file(MAKE_DIRECTORY ${docs})
file(COPY_FILE ${CPACK_MARROWICK_CHANGELOG} ${docs}/changelog)
execute_process(COMMAND gzip -9nf ${docs}/changelog COMMAND_ERROR_IS_FATAL ANY)

# The licence in the machine-readable copyright format: its text after the
# copyright line, indented by one blank, with "." for an empty line.
file(READ ${CPACK_MARROWICK_LICENSE} licence)
string(REGEX REPLACE "^[^\n]*\n+Copyright[^\n]*\n+" "" licence "${licence}")
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence "${licence}")
file(WRITE ${docs}/copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Marrowick
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}

Files: *
Copyright: 2026 ${CPACK_PACKAGE_VENDOR}
License: Expat
 ${licence}
")
