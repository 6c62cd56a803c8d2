zelvo_add_test(test_shell SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_test.cpp
  LIBS zelvo_app zelvo_test_ui)
zelvo_add_test(test_working_folder SOURCES ${CMAKE_CURRENT_LIST_DIR}/working_folder_test.cpp
  LIBS zelvo_app zelvo_test_ui)
