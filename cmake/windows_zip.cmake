# Makes the Windows release zip (cmake -P; windows-release.cmake passes the -D
# values): the programs stripped, the DLLs they and their plugins import, found
# in DLL_DIRS, the plugins, the README and LICENSE as Windows text, and the
# manual pages as HTML, in one folder named after the zip.
cmake_minimum_required(VERSION 3.25)

# strip stamps each PE file with this time, not now's.
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
set(ENV{TZ} UTC)  # and zip writes times as local ones
get_filename_component(name ${ZIP} NAME_WLE)
set(top ${STAGE}/${name})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${top})

foreach(program IN LISTS PROGRAMS)
    file(COPY ${program} DESTINATION ${top})
    get_filename_component(file ${program} NAME)
    execute_process(COMMAND ${STRIP} --strip-all ${top}/${file} COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND executables ${top}/${file})
endforeach()
foreach(plugin IN LISTS PLUGINS)
    get_filename_component(folder ${plugin} DIRECTORY)
    file(COPY ${QT_PLUGINS}/${plugin} DESTINATION ${top}/${folder})
    list(APPEND modules ${top}/${plugin})
endforeach()

# What the programs and plugins import, and what that imports in turn. Windows
# matches DLL names in any letter case. A DLL in none of DLL_DIRS is Windows' own
# (KERNEL32.dll, USER32.dll, ...); the zip's test checks that against wine's.
foreach(dir IN LISTS DLL_DIRS)
    file(GLOB found LIST_DIRECTORIES false ${dir}/*.dll)
    foreach(path IN LISTS found)
        get_filename_component(dll ${path} NAME)
        string(TOLOWER ${dll} key)
        if(NOT DEFINED dll_${key})
            set(dll_${key} ${path})
        endif()
    endforeach()
endforeach()
set(queue ${executables} ${modules})
set(copied)
while(queue)
    list(POP_FRONT queue module)
    execute_process(COMMAND ${OBJDUMP} -p ${module} OUTPUT_VARIABLE dump
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    foreach(import IN LISTS imports)
        string(REGEX REPLACE "^DLL Name: *" "" dll "${import}")
        string(STRIP "${dll}" dll)
        string(TOLOWER "${dll}" key)
        if(DEFINED dll_${key} AND NOT key IN_LIST copied)
            list(APPEND copied ${key})
            file(COPY ${dll_${key}} DESTINATION ${top})
            # Debian's libstdc++-6.dll carries 20 MB of debugging data.
            get_filename_component(dll ${dll_${key}} NAME)
            execute_process(COMMAND ${STRIP} --strip-unneeded ${top}/${dll}
                            COMMAND_ERROR_IS_FATAL ANY)
            list(APPEND queue ${dll_${key}})
        endif()
    endforeach()
endwhile()

# Windows text: CRLF line ends, and names that open with a double-click.
foreach(document IN LISTS DOCUMENTS)
    get_filename_component(base ${document} NAME_WE)
    file(READ ${document} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${top}/${base}.txt "${text}")
endforeach()
file(MAKE_DIRECTORY ${top}/manual)
foreach(page IN LISTS MAN_PAGES)
    get_filename_component(base ${page} NAME_WE)
    execute_process(COMMAND ${GROFF} -man -Thtml ${page} OUTPUT_VARIABLE html
                    COMMAND_ERROR_IS_FATAL ANY)
    # The same page makes the same file.
    string(REGEX REPLACE "<!-- CreationDate:[^\n]*-->\n" "" html "${html}")
    file(WRITE ${top}/manual/${base}.html "${html}")
endforeach()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${STAGE} ${top}/*)
list(SORT files)
file(REMOVE ${ZIP})
# Each entry keeps its file's time and no other attribute (zip -X), so the same
# build makes the same zip.
execute_process(COMMAND touch -m -d @${EPOCH} -- ${files} WORKING_DIRECTORY ${STAGE}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${ZIP_PROGRAM} -q -X -D -9 ${ZIP} -- ${files} WORKING_DIRECTORY ${STAGE}
                COMMAND_ERROR_IS_FATAL ANY)
list(JOIN files "\n  " listing)
message(STATUS "${ZIP}:\n  ${listing}")
