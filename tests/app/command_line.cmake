zelvo_add_test(test_command_line
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/command_line_test.cpp
  LIBS zelvo_app)
if(TARGET test_command_line)
  target_compile_definitions(test_command_line PRIVATE
    ZELVO_EXAMPLE_RULES="${PROJECT_SOURCE_DIR}/examples/rules-example.txt")
endif()
