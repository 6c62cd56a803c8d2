zelvo_add_test(test_http SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_test.cpp
  LIBS zelvo_net zelvo_test_net TSAN)
zelvo_add_test(test_encoding SOURCES ${CMAKE_CURRENT_LIST_DIR}/encoding_test.cpp
  LIBS zelvo_net)
# Cancelling a fetch in flight, on WinINet; the libcurl fetch's own tests
# cover it on the other builds.
if(WIN32)
  zelvo_add_test(test_http_cancel SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_cancel_test.cpp
    LIBS zelvo_net zelvo_test_net TSAN)
endif()
