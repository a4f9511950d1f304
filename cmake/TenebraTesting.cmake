# Sanitizer settings every program of ours carries (see the file).
set(TENEBRA_SANITIZER_OPTIONS ${PROJECT_SOURCE_DIR}/tools/support/sanitizer_options.cpp)

# Tests that start another process (death tests, fork, posix_spawn) carry the
# label "process": the emulated ARM runs leave them out, as fork() hangs
# inside qemu-user. Death tests are found by their suite's name; PROCESS
# names the others as a GoogleTest filter ("Suite.*:Other.Case").
set(TENEBRA_PROCESS_TESTS "*DeathTest.*")

# tenebra_test(NAME name SOURCES a.cpp ... LIBS lib ... [LABELS l ...]
#              [PROCESS filter] [TIMEOUT seconds]): one GoogleTest binary per
# area, its cases registered with CTest one by one (each given 300 seconds
# unless TIMEOUT says) and labelled with the area's folder name.
# Each case carries one label joining its names with "-" ("core-process",
# "mail-browser"): gtest_discover_tests loses a list's separators on the way
# to CTest, and a label selection (-L, -LE) is a regular expression, which
# finds either name in the joined one.
function(tenebra_test)
  cmake_parse_arguments(T "" "NAME;PROCESS;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES} ${TENEBRA_SANITIZER_OPTIONS})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  get_filename_component(area ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  string(JOIN "-" labels ${area} ${T_LABELS})
  set(process ${TENEBRA_PROCESS_TESTS})
  if(T_PROCESS)
    string(APPEND process ":${T_PROCESS}")
  endif()
  # Listing the cases is slow under emulation on a busy machine.
  set_property(GLOBAL APPEND PROPERTY TENEBRA_TEST_BINARIES "${labels} ${T_NAME}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER "-${process}"
                       PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT})
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER "${process}"
                       PROPERTIES LABELS "${labels}-process" TIMEOUT ${T_TIMEOUT})
endfunction()

# test_binaries.txt lists each test binary after its cases' label ("pane
# pane_tests"), so a run narrowed to some labels builds only the binaries it
# runs: a label's binary left unbuilt would drop its cases without a word.
function(tenebra_write_test_binaries)
  get_property(binaries GLOBAL PROPERTY TENEBRA_TEST_BINARIES)
  list(JOIN binaries "\n" text)
  file(WRITE ${CMAKE_BINARY_DIR}/test_binaries.txt "${text}\n")
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL tenebra_write_test_binaries)
