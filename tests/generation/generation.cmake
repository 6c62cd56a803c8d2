zelvo_add_test(test_template_expansion
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/template_expansion_test.cpp
  LIBS zelvo_generation)
zelvo_add_test(test_rule_record
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/rule_record_test.cpp
  LIBS zelvo_generation)
