# The in-memory port: the port contract, and what is particular to it.
zelvo_add_test(test_memory_ui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/memory_ui_test.cpp ${PROJECT_SOURCE_DIR}/tests/port/memory_port.cpp
  LIBS zelvo_test_ui zelvo_port_contract TSAN)
