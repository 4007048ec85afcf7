# yomite_add_test(NAME n SOURCES a.cc ... [LIBS lib ...])
# A GoogleTest executable linked with the fake platform unless LIBS names
# other backends; every TEST in it becomes a CTest test.
function(yomite_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    YOMITE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    YOMITE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "YOMITE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
