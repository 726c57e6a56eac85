# Cross-building for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix:
# GCC with POSIX threads, so std::thread works and Qt for mingw links against it).
# Programs run under wine through wine-run.sh, which keeps a wine prefix of its own
# under the build folder.
#
# A Qt built for mingw-w64 is used when MARROWICK_QT_MINGW (cache or environment)
# names its folder, or when scripts/windows/unpack-qt.sh has put it in
# build/qt-6.4.2-mingw64; moc, rcc and uic then come from the host's Qt 6 (qt6-base-dev-tools).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MARROWICK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MARROWICK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MARROWICK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MARROWICK_MINGW_TRIPLE}-windres)

# Libraries, headers and packages come from the target's root only, never from the
# host's /usr; programs (the host's tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MARROWICK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The folders of the DLLs the programs load at run time: the compiler's runtime
# (libstdc++-6.dll, libgcc_s_seh-1.dll; libwinpthread-1.dll), not linked statically
# because Qt's DLLs share them.
set(MARROWICK_MINGW_RUNTIME_DIRS
    /usr/lib/gcc/${MARROWICK_MINGW_TRIPLE}/12-posix /usr/${MARROWICK_MINGW_TRIPLE}/lib)

if(NOT MARROWICK_QT_MINGW AND DEFINED ENV{MARROWICK_QT_MINGW})
    set(MARROWICK_QT_MINGW "$ENV{MARROWICK_QT_MINGW}")
endif()
# Otherwise the one scripts/windows/unpack-qt.sh unpacks beside the build folders.
get_filename_component(_marrowick_unpacked_qt ${CMAKE_CURRENT_LIST_DIR}/../build/qt-6.4.2-mingw64
                       ABSOLUTE)
if(NOT MARROWICK_QT_MINGW AND EXISTS ${_marrowick_unpacked_qt}/lib/cmake/Qt6)
    set(MARROWICK_QT_MINGW ${_marrowick_unpacked_qt})
endif()
set(MARROWICK_QT_MINGW "${MARROWICK_QT_MINGW}" CACHE PATH "Qt 6 built for mingw-w64 (optional)")
if(MARROWICK_QT_MINGW)
    list(APPEND CMAKE_FIND_ROOT_PATH "${MARROWICK_QT_MINGW}")
    list(APPEND CMAKE_PREFIX_PATH "${MARROWICK_QT_MINGW}")
    set(QT_HOST_PATH /usr CACHE PATH "Where the host's Qt tools (moc, rcc, uic) are")
    list(APPEND MARROWICK_MINGW_RUNTIME_DIRS "${MARROWICK_QT_MINGW}/bin")
endif()
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
list(REMOVE_DUPLICATES CMAKE_PREFIX_PATH)

# Tests (add_test with a target) run through wine: the wrapper's arguments are the
# prefix and the DLL folders, separated by ':'.
string(REPLACE ";" ":" _marrowick_dll_dirs "${MARROWICK_MINGW_RUNTIME_DIRS}")
set(CMAKE_CROSSCOMPILING_EMULATOR
    /bin/sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix
    ${_marrowick_dll_dirs})
# QtTest programs, through a wrapper that shows their report (set as the
# programs' own CROSSCOMPILING_EMULATOR).
set(MARROWICK_QTEST_EMULATOR
    /bin/sh ${CMAKE_CURRENT_LIST_DIR}/wine-qtest.sh ${CMAKE_BINARY_DIR}/wineprefix
    ${_marrowick_dll_dirs})
