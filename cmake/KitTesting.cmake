include(GoogleTest)

# kit_add_subdirectories(): adds every direct sub-folder that has a CMakeLists.txt,
# in name order.
function(kit_add_subdirectories)
  file(GLOB children CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# kit_add_test(NAME name SOURCES a.cpp ... [LIBS lib ...] [LABELS unit|integration|gui] [TIMEOUT s])
# Builds one GoogleTest program and registers each of its test cases with ctest.
function(kit_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main Threads::Threads)
  # Tests run (and are listed) through env, which hands them where the sources and the
  # build are and keeps Qt offscreen.
  set_target_properties(${T_NAME} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;KIT_SOURCE_DIR=${CMAKE_SOURCE_DIR};KIT_BINARY_DIR=${CMAKE_BINARY_DIR};QT_QPA_PLATFORM=offscreen")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT})
endfunction()
