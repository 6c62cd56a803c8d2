# HttpGet and ConvertEncoding: the page fetch (libcurl) and the text
# conversion (iconv, part of the C library).
find_package(CURL REQUIRED)
zelvo_add_library(zelvo_net SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/http_curl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/encoding_iconv.cpp
  LIBS zelvo_runtime CURL::libcurl)
