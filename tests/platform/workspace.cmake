pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-unix-2.0)

# The program the launch tests start: it reports how it was started.
add_executable(lw_test_touch helpers/TestTouch.cpp)

lw_add_test(workspace_tests
  SOURCES
    WorkspaceTestEnvironment.cpp
    LinuxWorkspaceLaunchTest.cpp
    LinuxWorkspaceFactsTest.cpp
    RunningApplicationsTest.cpp
  LIBS lw_workspace PkgConfig::GIO)
add_dependencies(workspace_tests lw_test_touch)
target_compile_definitions(workspace_tests PRIVATE LW_TEST_TOUCH="$<TARGET_FILE:lw_test_touch>")
