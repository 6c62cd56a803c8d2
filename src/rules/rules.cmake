zelvo_add_library(zelvo_rules
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/rule_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rule_service_client.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rule_list_loading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reference_templates_window.cpp
  LIBS zelvo_bounded_read zelvo_generation zelvo_runtime)
# HttpGet; zelvo_net is defined by the runtime fragments, read before this one.
if(TARGET zelvo_net)
  target_link_libraries(zelvo_rules PUBLIC zelvo_net)
endif()
# The rule source's default is a build setting; empty delivers the built-in
# record. The command line may name another one.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/rule_service_client.cpp
  PROPERTIES COMPILE_DEFINITIONS "ZELVO_RULE_SOURCE_URL=\"${ZELVO_RULE_SOURCE_URL}\"")
