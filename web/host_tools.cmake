# The browser build's compiler makes WebAssembly, which the build machine
# cannot run: the runtime data generator is built by a host build of its own
# (tools/host) and run from there.
include(ExternalProject)
set(HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
ExternalProject_Add(host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/host
  BINARY_DIR ${HOST_TOOLS_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=c++
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${HOST_TOOLS_DIR}/make_runtime_data)
set(RUNTIME_DATA_TOOL ${HOST_TOOLS_DIR}/make_runtime_data)
