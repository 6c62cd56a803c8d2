# Runs through the in-memory port against the courier simulator, both of which
# come with the tests.
if(TARGET zelvo_test_ui AND TARGET zelvo_test_couriers)
  zelvo_add_bench(bench_verification
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/verification_bench.cpp
    LIBS zelvo_verification zelvo_test_couriers zelvo_test_ui)
  target_include_directories(bench_verification PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
