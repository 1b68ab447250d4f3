# Flags every target of ours gets; third-party code (GoogleTest) is left alone.

set(ZV_WINDOWS ${WIN32})

function(zv_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align -Wformat=2)
  # Sources are UTF-8; every string literal becomes Shift-JIS (code page 932). Clang, used only
  # for the fuzzers, knows no other execution character set than UTF-8.
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
  if(ZV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(ZV_WINDOWS)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
  endif()
endfunction()

if(ZV_WINDOWS)
  # One self-contained .exe per program: only system DLLs at run time.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(ZV_SANITIZE)
  if(ZV_WINDOWS)
    message(FATAL_ERROR "ZV_SANITIZE is for the native build only")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer: everything is instrumented for coverage; only the fuzz targets link its main.
if(ZV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang" OR NOT ZV_SANITIZE)
    message(FATAL_ERROR "ZV_FUZZ needs clang and ZV_SANITIZE")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
