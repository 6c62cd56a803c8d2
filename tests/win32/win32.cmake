# The Win32 frontend's tests, on real Win32 controls under Wine (cross build)
# on the caller's display or a private Xvfb.
if(TARGET zelvo_win32 AND TARGET GTest::gtest)
  add_library(zelvo_test_win32 STATIC ${CMAKE_CURRENT_LIST_DIR}/win32_test_support.cpp)
  target_include_directories(zelvo_test_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(zelvo_test_win32 PUBLIC zelvo_flags zelvo_win32 GTest::gtest)

  # zelvo_add_win32_test(name SOURCES ... LIBS ...)
  function(zelvo_add_win32_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE zelvo_test_win32 zelvo_test_text ${T_LIBS}
      GTest::gmock GTest::gtest GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
        ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/with-display.sh ${CMAKE_CROSSCOMPILING_EMULATOR})
    endif()
    # One at a time: their clicks go to whatever window lies under the
    # pointer on a display the tests may share.
    gtest_discover_tests(${name} PROPERTIES LABELS unit RESOURCE_LOCK zelvo_win32_display
      DISCOVERY_TIMEOUT 120 DISCOVERY_MODE ${zelvo_discovery_mode})
  endfunction()

  # The port contract, the same suite the other ports run.
  zelvo_add_win32_test(test_win32_port
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_port.cpp
    LIBS zelvo_port_contract)
endif()

# The program's flows through real controls.
if(TARGET zelvo_test_win32 AND TARGET zelvo_test_couriers)
  zelvo_add_win32_test(test_win32_program_flow
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_flow_test.cpp
    LIBS zelvo_win32_program zelvo_test_couriers zelvo_test_platform)
endif()

# zelvo.exe itself, started as a child process.
if(TARGET zelvo_test_win32 AND TARGET zelvo)
  zelvo_add_win32_test(test_win32_program SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_test.cpp)
  add_dependencies(test_win32_program zelvo)
  target_compile_definitions(test_win32_program PRIVATE ZELVO_PROGRAM="$<TARGET_FILE:zelvo>")
endif()

# What is particular to the Win32 port.
# It carries the program's icon, which the message boxes take.
if(TARGET zelvo_test_win32)
  enable_language(RC)
  zelvo_add_win32_test(test_win32_ui SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_ui_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_icon.rc)
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/program_icon.rc APPEND PROPERTY INCLUDE_DIRECTORIES
    ${PROJECT_SOURCE_DIR}/frontends/win32/resources)
endif()
