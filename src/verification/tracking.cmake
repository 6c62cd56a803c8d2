zelvo_add_library(zelvo_tracking
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tracking_parser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/courier_table.cpp
  LIBS zelvo_runtime)
# HttpGet and ConvertEncoding; zelvo_net is defined by the runtime fragments,
# read before this one.
if(TARGET zelvo_net)
  target_link_libraries(zelvo_tracking PUBLIC zelvo_net)
endif()
