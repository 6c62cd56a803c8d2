zelvo_add_bench(bench_generation
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/generation_bench.cpp
  LIBS zelvo_generation zelvo_test_ui zelvo_forms)
