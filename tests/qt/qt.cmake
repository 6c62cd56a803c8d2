# The Qt frontend's tests, run on real widgets on the offscreen platform.
if(TARGET zelvo_qt AND NOT ZELVO_SANITIZE STREQUAL "thread")
  find_package(Qt6 REQUIRED COMPONENTS Test)
  set(zelvo_qt_test_sources
    ${CMAKE_CURRENT_LIST_DIR}/qt_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_ui_test.cpp)
  zelvo_qt_charset(${zelvo_qt_test_sources})
  add_executable(test_qt_ui ${zelvo_qt_test_sources})
  target_link_libraries(test_qt_ui PRIVATE zelvo_flags zelvo_test_text zelvo_qt Qt6::Test
    GTest::gmock GTest::gtest)
  gtest_discover_tests(test_qt_ui
    PROPERTIES LABELS unit ENVIRONMENT QT_QPA_PLATFORM=offscreen
    DISCOVERY_TIMEOUT 120)
endif()

# The program's handlers on real widgets.
if(TARGET zelvo_qt_program AND NOT ZELVO_SANITIZE STREQUAL "thread")
  set(zelvo_qt_flow_sources
    ${CMAKE_CURRENT_LIST_DIR}/qt_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_flow_test.cpp)
  zelvo_qt_charset(${zelvo_qt_flow_sources})
  add_executable(test_qt_program_flow ${zelvo_qt_flow_sources})
  target_link_libraries(test_qt_program_flow PRIVATE zelvo_flags zelvo_test_text
    zelvo_qt_program Qt6::Test GTest::gmock GTest::gtest)
  gtest_discover_tests(test_qt_program_flow
    PROPERTIES LABELS unit ENVIRONMENT QT_QPA_PLATFORM=offscreen
    DISCOVERY_TIMEOUT 120)
endif()

# The built program as a child process (offscreen, and on Xvfb when present).
find_library(ZELVO_XCB_LIBRARY xcb)
find_path(ZELVO_XCB_INCLUDE xcb/xcb.h)
if(TARGET zelvo AND ZELVO_XCB_LIBRARY AND ZELVO_XCB_INCLUDE AND NOT ZELVO_SANITIZE STREQUAL "thread")
  # <chrono> again (see frontends/qt).
  zelvo_qt_charset(${CMAKE_CURRENT_LIST_DIR}/program_test.cpp)
  zelvo_add_test(test_qt_program SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_test.cpp LIBS ${ZELVO_XCB_LIBRARY})
  add_dependencies(test_qt_program zelvo zelvo_screenshot)
  target_compile_definitions(test_qt_program PRIVATE
    ZELVO_PROGRAM="$<TARGET_FILE:zelvo>"
    ZELVO_SCREENSHOT="$<TARGET_FILE:zelvo_screenshot>"
    ZELVO_LSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endif()
