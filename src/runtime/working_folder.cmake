# The folders start-up chooses between for the program's own files.
if(WIN32)
  zelvo_add_library(zelvo_working_folder
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/working_folder_win.cpp
    LIBS zelvo_runtime shell32 ole32 uuid)
else()
  zelvo_add_library(zelvo_working_folder
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/working_folder_posix.cpp
    LIBS zelvo_runtime)
endif()
