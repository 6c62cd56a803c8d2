zelvo_add_test(test_result_sort
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sort_test.cpp
  LIBS zelvo_sort zelvo_test_ui)
