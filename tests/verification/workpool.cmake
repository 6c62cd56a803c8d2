zelvo_add_test(test_locked_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/locked_list_test.cpp
  LIBS zelvo_workpool TSAN)
zelvo_add_test(test_completion_queue SOURCES ${CMAKE_CURRENT_LIST_DIR}/completion_queue_test.cpp
  LIBS zelvo_workpool TSAN)
zelvo_add_test(test_work_pool SOURCES ${CMAKE_CURRENT_LIST_DIR}/work_pool_test.cpp
  LIBS zelvo_workpool TSAN)
