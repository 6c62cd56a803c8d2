zelvo_add_test(test_gbk_literals SOURCES ${CMAKE_CURRENT_LIST_DIR}/gbk_literals_test.cpp)
