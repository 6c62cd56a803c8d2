# The Qt port on real widgets on the offscreen platform: the port contract,
# and what is particular to Qt.
zelvo_add_qt_test(test_qt_ui SOURCES ${CMAKE_CURRENT_LIST_DIR}/qt_ui_test.cpp
  LIBS zelvo_port_contract)

# The program's handlers on real widgets.
zelvo_add_qt_test(test_qt_program_flow SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_flow_test.cpp)

# The built program as a child process (offscreen, and on Xvfb when present).
find_library(ZELVO_XCB_LIBRARY xcb)
find_path(ZELVO_XCB_INCLUDE xcb/xcb.h)
if(TARGET zelvo_qt_program AND ZELVO_XCB_LIBRARY AND ZELVO_XCB_INCLUDE AND NOT ZELVO_SANITIZE STREQUAL "thread")
  # <chrono> again (see frontends/qt).
  zelvo_qt_charset(${CMAKE_CURRENT_LIST_DIR}/program_test.cpp)
  zelvo_add_test(test_qt_program SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_test.cpp LIBS ${ZELVO_XCB_LIBRARY})
  add_dependencies(test_qt_program zelvo zelvo_screenshot)
  target_compile_definitions(test_qt_program PRIVATE
    ZELVO_PROGRAM="$<TARGET_FILE:zelvo>"
    ZELVO_SCREENSHOT="$<TARGET_FILE:zelvo_screenshot>"
    ZELVO_LSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endif()
