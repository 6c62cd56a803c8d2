zelvo_add_library(zelvo_results
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/filter_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/result_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/result_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/result_saving.cpp
  LIBS zelvo_bounded_read zelvo_forms zelvo_runtime)
