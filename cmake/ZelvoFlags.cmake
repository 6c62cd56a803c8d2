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

if(WIN32)
  # Windows 7 and later; the platform files call the wide-character API
  # explicitly, so UNICODE stays undefined.
  target_compile_definitions(zelvo_flags INTERFACE _WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)
  # Every .exe carries its own libgcc, libstdc++ and winpthreads.
  target_link_options(zelvo_flags INTERFACE -static -static-libgcc -static-libstdc++)
  if(CMAKE_CROSSCOMPILING AND ZELVO_WINE)
    # Tests run under Wine in a prefix of this build's own, quietly.
    set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all ${ZELVO_WINE})
  endif()
endif()
