zelvo_add_test(test_forms SOURCES ${CMAKE_CURRENT_LIST_DIR}/forms_test.cpp LIBS zelvo_forms)
