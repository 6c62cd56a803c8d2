zelvo_add_test(test_tracking_parser
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tracking_parser_test.cpp
  LIBS zelvo_tracking)
zelvo_add_test(test_courier_table
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/courier_table_test.cpp
  LIBS zelvo_tracking zelvo_test_couriers)
