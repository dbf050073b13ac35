# The Windows build, cross-compiled with MinGW-w64 (the "windows" preset): its test programs
# run under Wine, in a Wine prefix made afresh for each test run, and it makes the Windows
# packages. Included from the top level before any target is made.

# The folders of the DLLs a test program loads: Qt's, and the MinGW runtime's.
get_filename_component(SNOETJESMAL_QT_WINDOWS_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE mingw_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(mingw_runtime "${mingw_libstdcxx}" DIRECTORY)
list(GET CMAKE_FIND_ROOT_PATH 0 mingw_root)
# ':' separates them, as in a Unix PATH (wine-run turns them into Wine's).
set(SNOETJESMAL_WINE_DLL_PATH
    "${SNOETJESMAL_QT_WINDOWS_PREFIX}/bin:${mingw_runtime}:${mingw_root}/lib")

# Wine runs the tests; a build of the packages alone (BUILD_TESTING off) does without it.
if(BUILD_TESTING)
    find_program(SNOETJESMAL_WINE wine REQUIRED)
endif()
set(SNOETJESMAL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${PROJECT_SOURCE_DIR}/cmake/wine-run ${SNOETJESMAL_WINEPREFIX} ${SNOETJESMAL_WINE_DLL_PATH})

# Qt's offscreen platform on Windows reads its fonts from a folder: the same DejaVu fonts
# the Linux build's tests see (package fonts-dejavu-core), through Wine's drive Z:.
# The prefix is the test run's own, so tests may use its registry as the user's settings.
set(SNOETJESMAL_TEST_ENVIRONMENT
    "QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu;SNOETJESMAL_PRIVATE_REGISTRY=1")

# Every test of the calling folder runs in the prefix that this test makes first.
function(snoetjesmal_windows_test_fixture)
    add_test(NAME wine_prefix
        COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-prefix ${SNOETJESMAL_WINEPREFIX})
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
    get_property(tests DIRECTORY PROPERTY TESTS)
    list(REMOVE_ITEM tests wine_prefix)
    set_property(TEST ${tests} APPEND PROPERTY FIXTURES_REQUIRED wine)
endfunction()

# The portable ZIP and the installer, in the build's dist/ (scripts/package-windows makes them
# in build/windows-package and copies them to the checkout's dist/).
find_program(SNOETJESMAL_MAKENSIS makensis REQUIRED)
set(package_version ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
set(SNOETJESMAL_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/dist/Snoetjesmal-${package_version}-setup.exe)
set(SNOETJESMAL_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/dist/Snoetjesmal-${package_version}-windows-x64.zip)
# How windows-package.sh makes them; the installer test makes an older version with it too.
set(SNOETJESMAL_WINDOWS_PACKAGE_OPTIONS
    --source=${PROJECT_SOURCE_DIR}
    --qt=${SNOETJESMAL_QT_WINDOWS_PREFIX}
    --out=${CMAKE_BINARY_DIR}/dist
    --version=${package_version}
    --product-version=${PROJECT_VERSION}
    --organisation=${SNOETJESMAL_SETTINGS_ORGANISATION}
    --application=${SNOETJESMAL_SETTINGS_APPLICATION}
    --settings-key=${SNOETJESMAL_SETTINGS_KEY})
add_custom_command(
    OUTPUT ${SNOETJESMAL_WINDOWS_SETUP} ${SNOETJESMAL_WINDOWS_ZIP}
    COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/windows-package.sh
        ${SNOETJESMAL_WINDOWS_PACKAGE_OPTIONS}
        $<TARGET_FILE:snoetjesmal> $<TARGET_FILE:snoetjesmal-render>
    DEPENDS snoetjesmal snoetjesmal-render
        ${PROJECT_SOURCE_DIR}/cmake/windows-package.sh
        ${PROJECT_SOURCE_DIR}/data/windows/installer.nsi
        ${PROJECT_SOURCE_DIR}/src/ui/art/snoetjesmal.ico
    COMMENT "Making the Windows ZIP and installer"
    VERBATIM)
add_custom_target(windows_package ALL
    DEPENDS ${SNOETJESMAL_WINDOWS_SETUP} ${SNOETJESMAL_WINDOWS_ZIP})
