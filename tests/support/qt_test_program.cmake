# What the tests on real Qt widgets share: their main (one QApplication, the
# offscreen platform) and the helpers in qt_test_program.h.
if(TARGET zelvo_qt AND NOT ZELVO_SANITIZE STREQUAL "thread")
  find_package(Qt6 REQUIRED COMPONENTS Test)
  set(zelvo_test_qt_sources
    ${CMAKE_CURRENT_LIST_DIR}/qt_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_test_program.cpp)
  zelvo_qt_charset(${zelvo_test_qt_sources})
  add_library(zelvo_test_qt STATIC ${zelvo_test_qt_sources})
  target_include_directories(zelvo_test_qt PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(zelvo_test_qt PUBLIC zelvo_flags zelvo_test_text zelvo_qt zelvo_app
    Qt6::Test GTest::gmock GTest::gtest)
endif()

# zelvo_add_qt_test(name SOURCES ... LIBS ...)
# A test on real Qt widgets with the shared main, run on the offscreen
# platform; nothing when the Qt frontend is not built.
function(zelvo_add_qt_test name)
  if(NOT TARGET zelvo_test_qt)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  zelvo_qt_charset(${T_SOURCES})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE zelvo_test_qt ${T_LIBS})
  gtest_discover_tests(${name}
    PROPERTIES LABELS unit ENVIRONMENT QT_QPA_PLATFORM=offscreen
    DISCOVERY_TIMEOUT 120)
endfunction()
