# One interface target carries what every Zelvo target shares: the language
# level, warnings, GBK literals and the sanitizers of the chosen build.
add_library(zelvo_flags INTERFACE)
target_compile_features(zelvo_flags INTERFACE cxx_std_20)
target_compile_options(zelvo_flags INTERFACE
  -Wall -Wextra
  # Texts are GBK byte strings; sources stay UTF-8.
  -fexec-charset=GBK)
if(ZELVO_SANITIZE)
  target_compile_options(zelvo_flags INTERFACE -fsanitize=${ZELVO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(zelvo_flags INTERFACE -fsanitize=${ZELVO_SANITIZE})
endif()
set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
target_link_libraries(zelvo_flags INTERFACE Threads::Threads)
