zelvo_add_library(zelvo_verification
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/verification_run.cpp
  LIBS zelvo_forms zelvo_tracking zelvo_workpool zelvo_runtime)
