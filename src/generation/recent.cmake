zelvo_add_library(zelvo_recent
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/recent_numbers.cpp
  LIBS zelvo_generation zelvo_tracking zelvo_runtime)
