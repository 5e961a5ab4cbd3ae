# The test packages of the Windows build are made with lzpack running on this machine, which
# the cross build cannot make: a native sub-build of the tool alone lives beside it, so the
# Windows build works on a fresh clone without the native build. Checked on every build; it
# does nothing when the tool is up to date.
set(HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
# A native build puts lzpack in the source tree's dist/, whichever Windows build asks for it.
set(HOST_LZPACK ${PROJECT_SOURCE_DIR}/dist/lzpack)
set(host_log ${HOST_TOOLS_DIR}.log)
add_custom_target(host_lzpack
  COMMAND sh -c "{ '${CMAKE_COMMAND}' -S '${PROJECT_SOURCE_DIR}' -B '${HOST_TOOLS_DIR}' -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF && '${CMAKE_COMMAND}' --build '${HOST_TOOLS_DIR}' --target lzpack; } > '${host_log}' 2>&1 || { cat '${host_log}'; exit 1; }"
  BYPRODUCTS ${HOST_LZPACK}
  COMMENT "Building the native lzpack for the test packages"
  VERBATIM)
