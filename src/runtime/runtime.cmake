# The runtime services every other part builds on: texts, conversions,
# date-times, random numbers, arithmetic, files and locks. The files named
# for a platform are the only difference between the builds.
if(WIN32)
  set(zelvo_runtime_platform
    clock_win.cpp c_number_win.cpp detached_thread_win.cpp files_win.cpp gbk_utf8_win.cpp
    memory_win.cpp process_heap_win.cpp recursive_lock_win.cpp wide_text_win.cpp)
else()
  # iconv (for file names) comes with the C library.
  set(zelvo_runtime_platform
    clock_posix.cpp c_number_posix.cpp detached_thread_posix.cpp files_posix.cpp
    gbk_utf8_iconv.cpp memory_posix.cpp process_heap_posix.cpp recursive_lock_posix.cpp)
endif()
list(TRANSFORM zelvo_runtime_platform PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
zelvo_add_library(zelvo_runtime SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/datetime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/random.cpp
  ${CMAKE_CURRENT_LIST_DIR}/arith.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fatal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/locks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_row_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_answers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/encoding_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/encoding_gbk.cpp
  ${zelvo_runtime_platform})
