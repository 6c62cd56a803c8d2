# The in-memory port: the port contract and its test API.
zelvo_add_test(test_memory_ui SOURCES ${CMAKE_CURRENT_LIST_DIR}/memory_ui_test.cpp
  LIBS zelvo_test_ui zelvo_port_contract TSAN)
