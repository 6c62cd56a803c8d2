# The application shell: program-wide state, start-up and exit, the event
# router and the main window's handlers.
zelvo_add_library(zelvo_app SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/event_router.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_handlers.cpp
  LIBS zelvo_forms)

# The router calls every subsystem's handlers. Their libraries are linked once
# all fragments have been read, so each one that exists is linked, whatever
# the order of the fragments.
function(zelvo_app_link_subsystems)
  get_property(libraries GLOBAL PROPERTY ZELVO_LIBRARIES)
  list(REMOVE_ITEM libraries zelvo_app)
  target_link_libraries(zelvo_app PUBLIC ${libraries})
endfunction()
cmake_language(DEFER CALL zelvo_app_link_subsystems)
