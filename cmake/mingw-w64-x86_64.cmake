# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers. The posix-thread
# variants are used because std::thread, std::mutex and the Qt build need them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Libraries and headers come from the mingw sysroot and from the cross-built Qt (added to
# CMAKE_PREFIX_PATH by the caller); programs such as moc and rcc come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine when one is installed.
find_program(DESKPANEL_WINE NAMES wine64 wine)
if(DESKPANEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DESKPANEL_WINE})
endif()
