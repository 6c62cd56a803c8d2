# The program's options: the built zelvo as a child process for what ends
# before any window, and the same entry as zelvo's main() in this process for
# a run on the example rule file (offscreen).
if(TARGET zelvo_qt_program AND NOT ZELVO_SANITIZE STREQUAL "thread")
  zelvo_qt_charset(${CMAKE_CURRENT_LIST_DIR}/options_test.cpp)
  zelvo_add_test(test_qt_options
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/options_test.cpp
    LIBS zelvo_qt_program Qt6::Test)
  add_dependencies(test_qt_options zelvo)
  # Only the header-only helpers of the shared Qt test support: this test
  # starts Qt through the program's own entry, not the shared test main.
  target_include_directories(test_qt_options PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(test_qt_options PRIVATE
    ZELVO_PROGRAM="$<TARGET_FILE:zelvo>"
    ZELVO_EXAMPLE_RULES="${PROJECT_SOURCE_DIR}/examples/rules-example.txt"
    ZELVO_LSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endif()
