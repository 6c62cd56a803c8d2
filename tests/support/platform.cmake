# What tests need from the operating system (threads, stacks, folders, held
# files) and the socket calls of the local servers, for POSIX and Windows.
add_library(zelvo_test_platform STATIC
  ${CMAKE_CURRENT_LIST_DIR}/platform_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sockets.cpp)
target_include_directories(zelvo_test_platform PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zelvo_test_platform PUBLIC zelvo_flags)
if(WIN32)
  target_link_libraries(zelvo_test_platform PUBLIC ws2_32)
endif()
