# The application tests as a Windows program, run under Wine by scripts/test-windows.
# The simulated rack is the Linux unitsim (DESKPANEL_UNITSIM), which Wine starts as a
# native program; tests that need it are skipped when it is not given. The program the
# tests start is the one in dist/, beside its DLLs and plugins.
set(DESKPANEL_UNITSIM "" CACHE FILEPATH "The Linux build's unitsim, for the rack tests under Wine")
file(GLOB_RECURSE WINDOWS_APP_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/app/*.cpp
     ${PROJECT_SOURCE_DIR}/tests/ui/*.cpp)
list(FILTER WINDOWS_APP_TEST_SOURCES EXCLUDE REGEX ${DESKPANEL_POSIX_ONLY_TESTS})
deskpanel_filter_stage_tests(WINDOWS_APP_TEST_SOURCES)
add_executable(app_tests ${WINDOWS_APP_TEST_SOURCES})
target_link_libraries(app_tests PRIVATE deskpanel_app deskpanel_test_support Qt6::Test GTest::gtest)
if(TARGET Qt6::WebSockets)
  target_link_libraries(app_tests PRIVATE Qt6::WebSockets)
endif()
target_compile_definitions(app_tests PRIVATE UNITSIM_PATH="${DESKPANEL_UNITSIM}"
                                             DESKPANEL_PATH="${CMAKE_BINARY_DIR}/dist/DeskPanel.exe")
add_dependencies(app_tests DeskPanel)
add_test(NAME app_tests COMMAND app_tests)
set_tests_properties(app_tests PROPERTIES TIMEOUT 900 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
