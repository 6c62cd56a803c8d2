zelvo_add_library(zelvo_workpool SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/completion_queue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/locked_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pool_thread_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/work_pool.cpp)
