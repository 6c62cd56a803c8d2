# The UI port's contract, written once against UiPort and instantiated by each
# port's test program (see port_contract.h). An object library, so that its
# tests are always linked in.
add_library(zelvo_port_contract OBJECT ${CMAKE_CURRENT_LIST_DIR}/port_contract.cpp)
target_include_directories(zelvo_port_contract PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zelvo_port_contract PUBLIC zelvo_flags zelvo_test_text zelvo_forms
  zelvo_runtime GTest::gtest)
