# The local rule servers are the shared local servers of tests/support.
zelvo_add_test(test_rule_service_client
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/rule_service_client_test.cpp
  LIBS zelvo_rules zelvo_test_net TSAN)
if(TARGET test_rule_service_client)
  target_compile_definitions(test_rule_service_client PRIVATE
    "ZELVO_TEST_RULE_SOURCE_URL=\"${ZELVO_RULE_SOURCE_URL}\"")
endif()
zelvo_add_test(test_reference_templates
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/reference_templates_test.cpp
  LIBS zelvo_rules zelvo_test_ui zelvo_forms zelvo_test_net)
zelvo_add_test(test_program_flow
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_flow_test.cpp
  LIBS zelvo_app zelvo_test_ui)
if(TARGET test_program_flow)
  target_compile_definitions(test_program_flow PRIVATE
    ZELVO_EXAMPLE_RULES="${PROJECT_SOURCE_DIR}/examples/rules-example.txt")
endif()
