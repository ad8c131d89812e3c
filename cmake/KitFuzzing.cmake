# kit_add_fuzz_target(NAME name SOURCES a.cpp ... [LIBS lib ...])
# One fuzz target: a file that defines LLVMFuzzerTestOneInput, with its seed corpus in
# corpus/<name>/ beside it.
#  - In the "fuzz" preset (KIT_FUZZ, clang): a libFuzzer program build/fuzz/bin/fuzz/<name>,
#    built by the target fuzz_all and run by ./run fuzz.
#  - In every other build: a replay program that feeds each file of the corpus to the
#    target once, registered as a test (label fuzz), so ./run test replays every corpus
#    and a crash fixed once stays fixed.
option(KIT_FUZZ "Build libFuzzer programs (clang) instead of corpus replays" OFF)
if(KIT_FUZZ AND NOT TARGET fuzz_all)
  add_custom_target(fuzz_all)
endif()

function(kit_add_fuzz_target)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${F_NAME})
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  if(KIT_FUZZ)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/fuzz)
    add_dependencies(fuzz_all ${F_NAME})
    file(APPEND ${CMAKE_BINARY_DIR}/fuzz_targets.txt "${F_NAME} ${corpus}\n")
  else()
    target_link_libraries(${F_NAME} PRIVATE kit_fuzz_replay)
    set_target_properties(${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/fuzz)
    add_test(NAME ${F_NAME}.replay COMMAND ${F_NAME} ${corpus})
    set_tests_properties(${F_NAME}.replay PROPERTIES LABELS fuzz TIMEOUT 300)
  endif()
endfunction()
