zelvo_add_test(test_row_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/row_store_test.cpp LIBS zelvo_runtime)
