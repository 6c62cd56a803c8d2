# Fixture tracking pages of every courier and a local server that serves them.
add_library(zelvo_test_couriers STATIC
  ${CMAKE_CURRENT_LIST_DIR}/courier_fixtures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/courier_simulator.cpp)
target_include_directories(zelvo_test_couriers PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(zelvo_test_couriers PUBLIC zelvo_flags zelvo_tracking zelvo_test_platform)
