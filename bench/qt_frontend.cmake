# The Qt frontend: start-up to a shown main window, 100,000 result rows.
if(TARGET zelvo_qt_program)
  zelvo_qt_charset(${CMAKE_CURRENT_LIST_DIR}/qt_frontend_bench.cpp)
  zelvo_add_bench(bench_qt_frontend
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/qt_frontend_bench.cpp
    LIBS zelvo_qt_program)
  target_include_directories(bench_qt_frontend PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  if(TARGET zelvo_test_couriers)
    target_link_libraries(bench_qt_frontend PRIVATE zelvo_test_couriers)
    target_compile_definitions(bench_qt_frontend PRIVATE ZELVO_BENCH_COURIERS)
  endif()
endif()
