# The Win32 frontend (cross build, run under Wine): a self-timing driver, as
# the cross build has no Google Benchmark.
if(TARGET zelvo_win32_program)
  add_executable(bench_win32_frontend ${CMAKE_CURRENT_LIST_DIR}/win32_frontend_bench.cpp)
  target_include_directories(bench_win32_frontend PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(bench_win32_frontend PRIVATE zelvo_win32_program)
  if(TARGET zelvo_test_couriers)
    target_link_libraries(bench_win32_frontend PRIVATE zelvo_test_couriers)
    target_compile_definitions(bench_win32_frontend PRIVATE ZELVO_BENCH_COURIERS)
  endif()
endif()
