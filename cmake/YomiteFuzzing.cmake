# yomite_add_fuzzer(NAME n SOURCES a.cc ... [LIBS lib ...])
# With YOMITE_FUZZ (clang): a libFuzzer executable fuzz_<n>.
# Otherwise: a replay executable that runs the saved inputs of
# fuzz/corpus/<n>/ through the same entry point, as an ordinary test.
function(yomite_add_fuzzer)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${F_NAME})
  if(YOMITE_FUZZ)
    add_executable(fuzz_${F_NAME} ${F_SOURCES})
    target_compile_options(fuzz_${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${F_NAME} PRIVATE ${F_LIBS})
  else()
    add_executable(replay_${F_NAME} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cc)
    target_link_libraries(replay_${F_NAME} PRIVATE ${F_LIBS})
    add_test(NAME fuzz_replay.${F_NAME} COMMAND replay_${F_NAME} ${corpus})
  endif()
endfunction()
