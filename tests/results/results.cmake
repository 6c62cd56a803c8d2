zelvo_add_test(test_result_files
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/result_files_test.cpp
  LIBS zelvo_results)
zelvo_add_test(test_result_saving
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/saving_test.cpp
  LIBS zelvo_results zelvo_test_ui)
zelvo_add_test(test_result_filter
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/filter_test.cpp
  LIBS zelvo_results zelvo_test_ui)
zelvo_add_test(test_result_actions
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/result_actions_test.cpp
  LIBS zelvo_app zelvo_test_ui)

# The window actions on real Qt widgets, when the Qt frontend is built.
if(TARGET zelvo_qt AND NOT ZELVO_SANITIZE STREQUAL "thread")
  find_package(Qt6 REQUIRED COMPONENTS Test)
  set(zelvo_results_qt_sources
    ${PROJECT_SOURCE_DIR}/tests/qt/qt_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_results_test.cpp)
  zelvo_qt_charset(${zelvo_results_qt_sources})
  add_executable(test_results_qt ${zelvo_results_qt_sources})
  target_link_libraries(test_results_qt PRIVATE zelvo_flags zelvo_test_text zelvo_qt zelvo_app
    Qt6::Test GTest::gmock GTest::gtest)
  gtest_discover_tests(test_results_qt
    PROPERTIES LABELS unit ENVIRONMENT QT_QPA_PLATFORM=offscreen
    DISCOVERY_TIMEOUT 120)
endif()
