# The Windows build: programs linked statically (libstdc++, libgcc and the
# threads library inside the .exe, so they run on a bare Windows), GoogleTest
# built from Debian's sources, and the tests run under Wine with a prefix of
# their own (tests/wine/).

enable_language(RC)
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN UNICODE
  _UNICODE)
# GCC 12 reports overlapping copies inside std::string that cannot happen
# (its bug 105329), at -O3 and sometimes at -O2.
add_compile_options(-Wno-restrict)
add_link_options(-static)

set(YOMITE_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest's sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${YOMITE_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

# Paths the tests are given point into Wine's Z: drive, which is the Linux root.
set(YOMITE_WINE_DRIVE "Z:" CACHE STRING "Wine's drive letter for the Linux root")
set(YOMITE_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix CACHE PATH
  "The Wine prefix the tests make once per run")

# A Windows program: wide-character entry point (wmain or wWinMain).
function(yomite_win32_program target)
  target_compile_options(${target} PRIVATE -municode)
  target_link_options(${target} PRIVATE -municode)
endfunction()

# Every test of this build runs under Wine in the one prefix that the fixture
# "wine" makes at the start of a run and stops at its end.
# One locale for every program, whatever the machine's: the code pages Wine
# gives a program follow it (the viewer's scenarios choose theirs).
set(YOMITE_WINE_ENVIRONMENT
  "LANG=C.UTF-8"
  "LC_ALL=C.UTF-8"
  "WINEPREFIX=${YOMITE_WINE_PREFIX}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "YOMITE_SOURCE_DIR=${YOMITE_WINE_DRIVE}${PROJECT_SOURCE_DIR}")
function(yomite_wine_test name)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine LABELS wine
    ENVIRONMENT "${YOMITE_WINE_ENVIRONMENT}")
endfunction()

# A Windows program's version information and application manifest
# (cmake/windows-*.in), both from project()'s version.
function(yomite_win32_resources target assembly description)
  set(YOMITE_PROGRAM ${target})
  set(YOMITE_ASSEMBLY ${assembly})
  set(YOMITE_DESCRIPTION "${description}")
  set(YOMITE_VERSION4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  set(YOMITE_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows-program.manifest.in ${YOMITE_MANIFEST} @ONLY)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows-version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${YOMITE_MANIFEST})
endfunction()
