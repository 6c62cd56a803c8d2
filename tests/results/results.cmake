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
zelvo_add_qt_test(test_results_qt SOURCES ${CMAKE_CURRENT_LIST_DIR}/qt_results_test.cpp)
