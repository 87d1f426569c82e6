# What both Windows cross-builds share: Debian's MinGW-w64 (package mingw-w64)
# in its posix thread model, so the standard library's threads and mutexes
# work. The including file sets CMAKE_SYSTEM_PROCESSOR and RATISCOPE_MINGW_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${RATISCOPE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RATISCOPE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RATISCOPE_MINGW_TRIPLE}-windres)

# Libraries and headers come from the target's root only; tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${RATISCOPE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's runtime goes into each program, so a program runs without
# MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
