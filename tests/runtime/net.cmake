zelvo_add_test(test_http SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_test.cpp
  LIBS zelvo_net zelvo_test_net TSAN)
zelvo_add_test(test_encoding SOURCES ${CMAKE_CURRENT_LIST_DIR}/encoding_test.cpp
  LIBS zelvo_net)
zelvo_add_test(test_http_cancel SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_cancel_test.cpp
  LIBS zelvo_net zelvo_test_net TSAN)
