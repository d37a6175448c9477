# Cross-compiles the Windows deliverables with mingw-w64 (posix threads, fully static runtime).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PH_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${PH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PH_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${PH_MINGW_PREFIX}-windres)
set(PH_WIDL            ${PH_MINGW_PREFIX}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${PH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libstdc++/libgcc/libwinpthread DLL has to travel with the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine, through a wrapper that fixes the prefix and the environment.
get_filename_component(_ph_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_ph_root}/scripts/wine-run.sh" CACHE FILEPATH "Runs Windows programs under Wine")
