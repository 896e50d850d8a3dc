# kelvara_add_test(NAME name SOURCES ... LIBS ...): one GoogleTest executable whose tests
# ctest runs one by one (discovered when ctest runs, not at build time).
include(GoogleTest)
find_package(GTest REQUIRED)
function(kelvara_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kelvara_test_support GTest::gtest GTest::gtest_main kelvara_warnings)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  # The test environment goes through `cmake -E env` because a list given to ENVIRONMENT
  # through gtest_discover_tests keeps only its first entry.
  set_target_properties(${T_NAME} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;KELVARA_BUILD_DIR=${CMAKE_BINARY_DIR};KELVARA_SOURCE_DIR=${CMAKE_SOURCE_DIR};QT_QPA_PLATFORM=offscreen")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# Adds every direct subfolder of `parent` that has a CMakeLists.txt.
function(kelvara_add_test_folders parent)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${parent}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
