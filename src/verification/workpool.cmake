# The WorkPool over its completion queues and pool threads: an I/O completion
# port and CreateThread on Windows, the portable queue and POSIX threads
# elsewhere.
if(WIN32)
  set(zelvo_workpool_platform completion_queue_win.cpp pool_thread_win.cpp)
else()
  set(zelvo_workpool_platform completion_queue_portable.cpp pool_thread_posix.cpp)
endif()
list(TRANSFORM zelvo_workpool_platform PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
zelvo_add_library(zelvo_workpool SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/locked_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/work_pool.cpp
  ${zelvo_workpool_platform}
  LIBS zelvo_runtime)
