# The runtime services every other part builds on: texts, conversions,
# date-times, random numbers, arithmetic, files and locks. iconv (for file
# names) comes with the C library.
zelvo_add_library(zelvo_runtime SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/datetime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/random.cpp
  ${CMAKE_CURRENT_LIST_DIR}/arith.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fatal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/locks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gbk_utf8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory_posix.cpp)
