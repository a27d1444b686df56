# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# The Windows build's tests: GoogleTest cross-compiled from Debian's source, and every test
# program run under Wine, in a Wine prefix of the build directory's own.

set(gtest_source /usr/src/googletest/googletest CACHE PATH "GoogleTest's source (Debian's googletest)")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${gtest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

find_program(PELOMART_WINE wine REQUIRED)
set(wine_prefix ${CMAKE_BINARY_DIR}/wine)
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE mingw_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(mingw_bin ${mingw_runtime} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
    OUTPUT_VARIABLE mingw_threads OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(mingw_threads ${mingw_threads} DIRECTORY)
file(REAL_PATH ${mingw_threads} mingw_threads)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
# Every test program, and gtest_discover_tests listing their tests, go through it.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# Made once at build time: the first run in a fresh prefix spends half a minute setting it
# up, which would otherwise land in one test's time, or in several at once under ctest -j.
add_custom_command(OUTPUT ${wine_prefix}/system.reg
    COMMAND ${CMAKE_BINARY_DIR}/wine-run --init
    COMMENT "Setting up the Wine prefix for the tests")
add_custom_target(wine_prefix ALL DEPENDS ${wine_prefix}/system.reg)
