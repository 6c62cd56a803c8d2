# The four windows' descriptions (data only; no runtime calls).
zelvo_add_library(zelvo_forms SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filter_window_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reference_templates_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recent_numbers_form.cpp)
