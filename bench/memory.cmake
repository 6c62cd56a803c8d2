# Resident memory of runs whose pages are all far over the body cap: a plain
# program that prints its figures (it reads /proc/self/status).
if(TARGET zelvo_test_ui AND TARGET zelvo_test_net AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  add_executable(bench_run_memory ${CMAKE_CURRENT_LIST_DIR}/run_memory_bench.cpp)
  target_link_libraries(bench_run_memory PRIVATE zelvo_flags zelvo_verification zelvo_test_ui
    zelvo_test_net)
endif()
