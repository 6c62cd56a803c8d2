add_library(zelvo_test_text STATIC ${CMAKE_CURRENT_LIST_DIR}/text_printer.cpp)
target_include_directories(zelvo_test_text PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(zelvo_test_text PUBLIC zelvo_flags zelvo_runtime zelvo_test_platform GTest::gtest)
# Every test sees the printer, wherever it compares texts.
target_compile_options(zelvo_test_text INTERFACE -include ${CMAKE_CURRENT_LIST_DIR}/text_printer.h)
