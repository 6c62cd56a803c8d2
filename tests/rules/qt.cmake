# The reference-template window on the Qt frontend (offscreen platform).
if(TARGET zelvo_qt AND NOT ZELVO_SANITIZE STREQUAL "thread")
  find_package(Qt6 REQUIRED COMPONENTS Test)
  set(zelvo_rules_qt_test_sources
    ${PROJECT_SOURCE_DIR}/tests/qt/qt_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_reference_templates_test.cpp)
  zelvo_qt_charset(${zelvo_rules_qt_test_sources})
  add_executable(test_qt_reference_templates ${zelvo_rules_qt_test_sources})
  target_link_libraries(test_qt_reference_templates PRIVATE zelvo_flags zelvo_test_text
    zelvo_qt zelvo_rules Qt6::Test GTest::gmock GTest::gtest)
  gtest_discover_tests(test_qt_reference_templates
    PROPERTIES LABELS unit ENVIRONMENT QT_QPA_PLATFORM=offscreen
    DISCOVERY_TIMEOUT 120)
endif()
