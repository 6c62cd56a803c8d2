zelvo_add_library(zelvo_sort
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/result_sort.cpp
  LIBS zelvo_forms zelvo_runtime)
