# HttpGet and ConvertEncoding: the page fetch (WinINet on Windows, libcurl
# elsewhere) and the text conversion (the code-page functions on Windows,
# iconv from the C library elsewhere).
if(WIN32)
  zelvo_add_library(zelvo_net SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/http_wininet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/encoding_win.cpp
    LIBS zelvo_runtime wininet)
else()
  find_package(CURL REQUIRED)
  zelvo_add_library(zelvo_net SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/http_curl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/encoding_iconv.cpp
    LIBS zelvo_runtime CURL::libcurl)
endif()
