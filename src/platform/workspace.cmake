pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-unix-2.0)

add_library(lw_workspace STATIC
  CanonicalPath.cpp
  Workspace.cpp
  linux/LinuxWorkspace.cpp
  linux/ProcessTable.cpp
  fake/FakeWorkspace.cpp
)
target_include_directories(lw_workspace PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_link_libraries(lw_workspace PUBLIC lw_foundation Qt6::Core PRIVATE PkgConfig::GIO)
