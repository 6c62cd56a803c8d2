# The sort, the filter pass and the ResultFile on the in-memory port, which
# comes with the tests.
if(TARGET zelvo_test_ui)
  zelvo_add_bench(bench_results SOURCES ${CMAKE_CURRENT_LIST_DIR}/results_bench.cpp
    LIBS zelvo_results zelvo_sort zelvo_test_ui zelvo_test_platform)
endif()

# The same operations on the Qt frontend's list (offscreen), when it is built.
if(TARGET zelvo_qt)
  zelvo_qt_charset(${CMAKE_CURRENT_LIST_DIR}/results_qt_bench.cpp)
  zelvo_add_bench(bench_results_qt SOURCES ${CMAKE_CURRENT_LIST_DIR}/results_qt_bench.cpp
    LIBS zelvo_results zelvo_sort zelvo_qt)
endif()
