# Tests of what the program does differently on Windows, run under Wine like every test of
# the Windows build.

# A stand-in for the web browser, which the shell test registers for https addresses.
add_executable(browserstandin windows/browserstandin.cpp)
snoetjesmal_test(tst_shell LIBS snoetjesmal_platform_widgets DIR windows)
target_compile_definitions(tst_shell PRIVATE
    SNOETJESMAL_BROWSER_STANDIN="$<TARGET_FILE:browserstandin>")
add_dependencies(tst_shell browserstandin)

# The installer, in a fresh prefix of its own, and the installed program in a real window.
add_test(NAME windows_installer
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/test_installer.sh
        ${SNOETJESMAL_WINDOWS_SETUP} ${PROJECT_SOURCE_DIR})
set_tests_properties(windows_installer PROPERTIES TIMEOUT 300)

snoetjesmal_windows_test_fixture()
