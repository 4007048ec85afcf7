# yomite_add_test(NAME n SOURCES a.cc ... [LIBS lib ...])
# A GoogleTest executable linked with the fake platform unless LIBS names
# other backends; every TEST in it becomes a CTest test. In the Windows build
# the whole executable is one CTest test, run under Wine (one Wine start per
# executable rather than per test).
function(yomite_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(YOMITE_WIN32)
    set(source_dir "${YOMITE_WINE_DRIVE}${PROJECT_SOURCE_DIR}")
    set(binary_dir "${YOMITE_WINE_DRIVE}${PROJECT_BINARY_DIR}")
  else()
    set(source_dir "${PROJECT_SOURCE_DIR}")
    set(binary_dir "${PROJECT_BINARY_DIR}")
  endif()
  target_compile_definitions(${T_NAME} PRIVATE
    YOMITE_SOURCE_DIR="${source_dir}"
    YOMITE_BINARY_DIR="${binary_dir}")
  if(YOMITE_WIN32)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    yomite_wine_test(${T_NAME})
  else()
    # A configuration directory of its own: settings_path() never reaches the
    # user's, and a test's writes stay in the build tree.
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "YOMITE_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        ENVIRONMENT_MODIFICATION
          "XDG_CONFIG_HOME=set:${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}.config")
  endif()
endfunction()
