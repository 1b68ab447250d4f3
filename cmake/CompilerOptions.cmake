# Flags every target of ours gets; third-party code (GoogleTest) is left alone.

set(ZV_WINDOWS ${WIN32})

function(zv_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  # Sources are UTF-8; every string literal becomes Shift-JIS (code page 932).
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align -Wformat=2
    -finput-charset=UTF-8 -fexec-charset=CP932)
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
