zelvo_add_bench(bench_runtime SOURCES ${CMAKE_CURRENT_LIST_DIR}/runtime_bench.cpp LIBS zelvo_runtime)
