# Qt's own dialogs and menus in Chinese; the folder dialog's picture goes to
# build/screenshots/.
zelvo_add_qt_test(test_qt_chinese_dialogs
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chinese_dialogs_test.cpp)
if(TARGET test_qt_chinese_dialogs)
  target_compile_definitions(test_qt_chinese_dialogs PRIVATE
    ZELVO_SCREENSHOT_DIR="${PROJECT_SOURCE_DIR}/build/screenshots")
endif()
