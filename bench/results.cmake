zelvo_add_bench(bench_results SOURCES ${CMAKE_CURRENT_LIST_DIR}/results_bench.cpp
  LIBS zelvo_results zelvo_sort zelvo_test_ui)
