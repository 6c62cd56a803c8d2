# Local servers for the network tests, on plain sockets (Winsock in the
# Windows build): one whose handler answers each connection as the test
# wishes, well or badly, and a port that refuses connections.
add_library(zelvo_test_net STATIC ${CMAKE_CURRENT_LIST_DIR}/local_servers.cpp)
target_include_directories(zelvo_test_net PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zelvo_test_net PUBLIC zelvo_flags zelvo_test_platform)
