# The rule description's colour on the Qt frontend (offscreen platform).
zelvo_add_qt_test(test_qt_apply_rule
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/qt_apply_rule_test.cpp
  LIBS zelvo_generation)
