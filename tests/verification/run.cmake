zelvo_add_test(test_verification_run
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/verification_run_test.cpp
  LIBS zelvo_verification zelvo_test_couriers zelvo_test_ui zelvo_test_net
  TSAN)
zelvo_add_test(test_verification_wiring
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/verification_wiring_test.cpp
  LIBS zelvo_app zelvo_test_couriers zelvo_test_ui
  TSAN)
