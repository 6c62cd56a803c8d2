zelvo_add_test(test_memory_ui SOURCES ${CMAKE_CURRENT_LIST_DIR}/memory_ui_test.cpp
  LIBS zelvo_test_ui TSAN)
