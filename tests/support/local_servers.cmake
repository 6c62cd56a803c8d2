# Local servers for the network tests: a well-behaved web server
# (cpp-httplib, a shared library without a CMake package) and one on plain
# sockets that can misbehave.
add_library(zelvo_test_net STATIC ${CMAKE_CURRENT_LIST_DIR}/local_servers.cpp)
target_include_directories(zelvo_test_net PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zelvo_test_net PUBLIC zelvo_flags cpp-httplib)
