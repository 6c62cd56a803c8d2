zelvo_add_bench(bench_pool_fetch SOURCES ${CMAKE_CURRENT_LIST_DIR}/pool_fetch_bench.cpp
  LIBS zelvo_workpool zelvo_net)
target_compile_definitions(bench_pool_fetch PRIVATE
  ZELVO_XARGS_CURL="${CMAKE_CURRENT_LIST_DIR}/xargs_curl.sh")
