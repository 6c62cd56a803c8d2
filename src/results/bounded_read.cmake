# The size-checked whole-file read: the result files and a local rule file
# are both read through it.
zelvo_add_library(zelvo_bounded_read
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bounded_read.cpp
  LIBS zelvo_runtime)
