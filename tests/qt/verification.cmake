# A verification run on real widgets against the local courier simulator.
if(TARGET zelvo_qt AND NOT ZELVO_SANITIZE STREQUAL "thread")
  find_package(Qt6 REQUIRED COMPONENTS Test)
  set(zelvo_qt_verification_sources
    ${CMAKE_CURRENT_LIST_DIR}/qt_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/verification_qt_test.cpp)
  zelvo_qt_charset(${zelvo_qt_verification_sources})
  add_executable(test_qt_verification ${zelvo_qt_verification_sources})
  target_link_libraries(test_qt_verification PRIVATE zelvo_flags zelvo_test_text zelvo_qt
    zelvo_app zelvo_test_couriers GTest::gmock GTest::gtest)
  gtest_discover_tests(test_qt_verification
    PROPERTIES LABELS unit ENVIRONMENT QT_QPA_PLATFORM=offscreen
    DISCOVERY_TIMEOUT 120)
endif()
