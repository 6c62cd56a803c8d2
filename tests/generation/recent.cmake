zelvo_add_test(test_recent_numbers
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/recent_numbers_test.cpp
  LIBS zelvo_recent zelvo_test_ui)
