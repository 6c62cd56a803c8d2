zelvo_add_bench(bench_generation
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/generation_bench.cpp
  LIBS zelvo_generation zelvo_forms)
# The whole click needs the in-memory port, which comes with the tests.
if(TARGET zelvo_test_ui)
  target_link_libraries(bench_generation PRIVATE zelvo_test_ui)
  target_compile_definitions(bench_generation PRIVATE ZELVO_BENCH_MEMORY_UI)
endif()
# The whole click into the Qt box, on the offscreen platform.
if(TARGET zelvo_qt)
  zelvo_qt_charset(${CMAKE_CURRENT_LIST_DIR}/generation_qt_bench.cpp)
  zelvo_add_bench(bench_generation_qt
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/generation_qt_bench.cpp
    LIBS zelvo_generation zelvo_qt)
endif()
