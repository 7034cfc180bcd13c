# The Windows programs (cross-built with cmake/mingw-w64-x86_64.cmake): each
# gets the game's icon, its version information and the application manifest
# (packaging/windows/), and the C and C++ runtimes are linked in, so only
# SDL.dll and SDL2.dll ship beside the exes.
enable_language(RC)
set(ZUBA_ICON ${CMAKE_SOURCE_DIR}/packaging/icons/zuba-trilo.ico)
set(ZUBA_MANIFEST ${CMAKE_SOURCE_DIR}/packaging/windows/zuba-trilo.manifest)
foreach(exe zuba-trilo zuba-trilo-replay)
  if(exe STREQUAL "zuba-trilo")
    set(ZUBA_DESCRIPTION "ZUBA-TRILO, a one-screen fixed shooter")
  else()
    set(ZUBA_DESCRIPTION "ZUBA-TRILO replay driver")
  endif()
  set(ZUBA_EXE ${exe})
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/zuba-trilo.rc.in ${CMAKE_BINARY_DIR}/${exe}.rc @ONLY)
  target_sources(${exe} PRIVATE ${CMAKE_BINARY_DIR}/${exe}.rc)
  set_source_files_properties(${CMAKE_BINARY_DIR}/${exe}.rc PROPERTIES OBJECT_DEPENDS "${ZUBA_ICON};${ZUBA_MANIFEST}")
  target_link_options(${exe} PRIVATE -static-libgcc -static-libstdc++)
endforeach()
# The replay driver is a console program: it prints its trace and figures, and
# a console waits for it to finish. The game has a window and no console of
# its own (platform_attach_console borrows the one it was started from).
target_link_options(zuba-trilo-replay PRIVATE -mconsole)
