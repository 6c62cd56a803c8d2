zelvo_add_bench(bench_verification
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/verification_bench.cpp
  LIBS zelvo_verification zelvo_test_couriers zelvo_test_ui)
