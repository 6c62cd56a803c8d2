zelvo_add_test(test_template_expansion
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/template_expansion_test.cpp
  LIBS zelvo_generation)
zelvo_add_test(test_rule_record
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/rule_record_test.cpp
  LIBS zelvo_generation)
zelvo_add_test(test_generation_run
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/generation_run_test.cpp
  LIBS zelvo_generation zelvo_test_ui zelvo_forms)
zelvo_add_test(test_apply_rule
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_rule_test.cpp
  LIBS zelvo_generation zelvo_test_ui zelvo_forms)
