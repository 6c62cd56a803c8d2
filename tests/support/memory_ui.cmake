# The in-memory UI port that behaviour tests run the program on.
add_library(zelvo_test_ui STATIC ${CMAKE_CURRENT_LIST_DIR}/memory_ui.cpp)
target_include_directories(zelvo_test_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(zelvo_test_ui PUBLIC zelvo_flags zelvo_forms)
# Date pickers start at Now().
if(TARGET zelvo_runtime)
  target_link_libraries(zelvo_test_ui PUBLIC zelvo_runtime)
endif()
