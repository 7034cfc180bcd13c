# Cross-building for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DZUBA_WINDOWS_DEPS=<prefix of the Windows SDL libraries>
# scripts/build-windows-deps.sh uses the same file for SDL 2 and sdl12-compat.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZUBA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZUBA_MINGW}-gcc)
set(CMAKE_CXX_COMPILER ${ZUBA_MINGW}-g++)
set(CMAKE_RC_COMPILER ${ZUBA_MINGW}-windres)

# The Windows libraries come from the cross-compiler's own tree and from the
# SDL prefix. CMake rewrites pkg-config's -L paths that lie outside these
# roots, so the SDL prefix must be one of them.
set(ZUBA_WINDOWS_DEPS "$ENV{ZUBA_WINDOWS_DEPS}" CACHE PATH "Prefix of the cross-built SDL libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${ZUBA_MINGW} ${ZUBA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must see the Windows SDL's .pc files and never the host's.
if(ZUBA_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} "${ZUBA_WINDOWS_DEPS}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()

# The tests built for Windows link zlib (Debian's libz-mingw-w64-dev) in,
# so they need no zlib1.dll beside them.
set(ZLIB_USE_STATIC_LIBS ON)
