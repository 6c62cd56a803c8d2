zelvo_add_library(zelvo_generation
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/template_expansion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/generation_run.cpp
    ${CMAKE_CURRENT_LIST_DIR}/generation_fields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rule_record.cpp
  LIBS zelvo_forms zelvo_runtime)
