# The reference-template window on the Qt frontend (offscreen platform).
zelvo_add_qt_test(test_qt_reference_templates
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/qt_reference_templates_test.cpp
  LIBS zelvo_rules)
