# Writes DIR/sw.js from TEMPLATE with the first 16 hex digits of a SHA-256
# over the page's files, so that every build that changes what a player gets
# has its own offline cache (cmake -P; see web/CMakeLists.txt).
set(all "")
foreach(f index.html zuba-trilo.js zuba-trilo.wasm manifest.webmanifest icon-192.png icon-512.png)
  file(SHA256 ${DIR}/${f} h)
  string(APPEND all "${h}")
endforeach()
string(SHA256 all "${all}")
string(SUBSTRING "${all}" 0 16 ZUBA_BUILD_HASH)
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
