# Its file cases name POSIX paths; under Wine two of them fail, so the
# Windows build leaves this program out until they name paths of both kinds.
if(NOT WIN32)
zelvo_add_test(test_command_line
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/command_line_test.cpp
  LIBS zelvo_app)
if(TARGET test_command_line)
  target_compile_definitions(test_command_line PRIVATE
    ZELVO_EXAMPLE_RULES="${PROJECT_SOURCE_DIR}/examples/rules-example.txt")
endif()
endif()
