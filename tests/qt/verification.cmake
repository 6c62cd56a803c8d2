# A verification run on real widgets against the local courier simulator.
zelvo_add_qt_test(test_qt_verification
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/verification_qt_test.cpp
  LIBS zelvo_test_couriers)
