# Shared part of the two MinGW-w64 toolchains; ZV_MINGW_TRIPLE and ZV_WINEARCH are set by the caller.
# The win32 thread model: the posix one links winpthreads, whose imports (GetTickCount64 and
# others) keep the program from loading on older Windows.
set(CMAKE_C_COMPILER ${ZV_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ZV_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${ZV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

