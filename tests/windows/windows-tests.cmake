# Tests of what the program does differently on Windows, run under Wine like every test of
# the Windows build.

# A stand-in for the web browser, which the shell test registers for https addresses.
add_executable(browserstandin windows/browserstandin.cpp)
snoetjesmal_test(tst_shell LIBS snoetjesmal_platform_widgets DIR windows)
target_compile_definitions(tst_shell PRIVATE
    SNOETJESMAL_BROWSER_STANDIN="$<TARGET_FILE:browserstandin>")
add_dependencies(tst_shell browserstandin)

snoetjesmal_windows_test_fixture()
