include(GoogleTest)

# Sanitizer settings every program of ours carries (see the file).
set(TENEBRA_SANITIZER_OPTIONS ${PROJECT_SOURCE_DIR}/tools/support/sanitizer_options.cpp)

# tenebra_test(NAME name SOURCES a.cpp ... LIBS lib ...): one GoogleTest
# binary per area, its cases registered with CTest one by one.
function(tenebra_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES} ${TENEBRA_SANITIZER_OPTIONS})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST
                       PROPERTIES LABELS "${T_LABELS}" TIMEOUT 300)
endfunction()
