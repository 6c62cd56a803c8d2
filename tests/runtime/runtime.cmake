zelvo_add_test(test_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/text_test.cpp LIBS zelvo_runtime)
zelvo_add_test(test_convert SOURCES ${CMAKE_CURRENT_LIST_DIR}/convert_test.cpp LIBS zelvo_runtime)
zelvo_add_test(test_datetime SOURCES ${CMAKE_CURRENT_LIST_DIR}/datetime_test.cpp LIBS zelvo_runtime)
zelvo_add_test(test_arith SOURCES ${CMAKE_CURRENT_LIST_DIR}/arith_test.cpp LIBS zelvo_runtime)
zelvo_add_test(test_files SOURCES ${CMAKE_CURRENT_LIST_DIR}/files_test.cpp LIBS zelvo_runtime)
zelvo_add_test(test_random SOURCES ${CMAKE_CURRENT_LIST_DIR}/random_test.cpp LIBS zelvo_runtime TSAN)
zelvo_add_test(test_locks SOURCES ${CMAKE_CURRENT_LIST_DIR}/locks_test.cpp LIBS zelvo_runtime TSAN)
zelvo_add_test(test_detached_thread SOURCES ${CMAKE_CURRENT_LIST_DIR}/detached_thread_test.cpp
  LIBS zelvo_runtime TSAN)
