# Runs through the in-memory port against the courier simulator, both of which
# come with the tests.
if(TARGET zelvo_test_ui AND TARGET zelvo_test_couriers)
  zelvo_add_bench(bench_verification
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/verification_bench.cpp
    LIBS zelvo_verification zelvo_test_couriers zelvo_test_ui)
  target_include_directories(bench_verification PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()

# The simulator as a process of its own, which the benchmarks of both builds
# verify against (bench/with_courier_server.sh).
if(TARGET zelvo_test_couriers AND NOT WIN32)
  add_executable(bench_courier_server ${CMAKE_CURRENT_LIST_DIR}/courier_server.cpp)
  target_include_directories(bench_courier_server PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(bench_courier_server PRIVATE zelvo_flags zelvo_test_couriers)
endif()
