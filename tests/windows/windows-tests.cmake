# Tests of what the program does differently on Windows, run under Wine like every test of
# the Windows build.

# A stand-in for the web browser, which the shell test registers for https addresses.
add_executable(browserstandin windows/browserstandin.cpp)
snoetjesmal_test(tst_shell LIBS snoetjesmal_ui_services DIR windows)
target_compile_definitions(tst_shell PRIVATE
    SNOETJESMAL_BROWSER_STANDIN="$<TARGET_FILE:browserstandin>")
add_dependencies(tst_shell browserstandin)

# A folder put in place while a file in it, or in the one it replaces, is held open.
snoetjesmal_test(tst_stagedfolder LIBS snoetjesmal_platform DIR windows)
target_include_directories(tst_stagedfolder PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

# Ctrl+C onto the Windows clipboard, on Windows' own platform in a real window.
qt_add_executable(tst_clipboard windows/tst_clipboard.cpp)
target_link_libraries(tst_clipboard PRIVATE Qt6::Test snoetjesmal_ui snoetjesmal_options)
target_include_directories(tst_clipboard PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME tst_clipboard
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/on-screen.sh ${PROJECT_SOURCE_DIR}
        ${SNOETJESMAL_WINEPREFIX} ${SNOETJESMAL_WINE_DLL_PATH} $<TARGET_FILE:tst_clipboard>)
# It restarts the prefix's Wine server, which no other test may be using meanwhile.
set_tests_properties(tst_clipboard PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)

# Every caption fits its control with Windows' own text rendering at 100, 125, 150 and 200 %:
# the fit tests of the two windows, on Windows' own platform at each resolution.
foreach(dpi 96 120 144 192)
    foreach(fit tst_frmmain:captionsFit tst_frmsave:labelsFit)
        string(REPLACE ":" ";" fit ${fit})
        list(GET fit 0 program)
        list(GET fit 1 function)
        add_test(NAME ${program}_fit_${dpi}
            COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/on-screen.sh ${PROJECT_SOURCE_DIR}
                ${SNOETJESMAL_WINEPREFIX} ${SNOETJESMAL_WINE_DLL_PATH}
                $<TARGET_FILE:${program}> -platform windows ${function})
        set_tests_properties(${program}_fit_${dpi} PROPERTIES RUN_SERIAL TRUE TIMEOUT 120
            ENVIRONMENT "SNOETJESMAL_DPI=${dpi};SNOETJESMAL_PRIVATE_REGISTRY=1")
    endforeach()
endforeach()

# The preview is crisp at 100, 125, 150, 175 and 200 %: read back from Windows' own screen.
foreach(dpi 96 120 144 168 192)
    add_test(NAME tst_frmmain_preview_${dpi}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/on-screen.sh ${PROJECT_SOURCE_DIR}
            ${SNOETJESMAL_WINEPREFIX} ${SNOETJESMAL_WINE_DLL_PATH}
            $<TARGET_FILE:tst_frmmain> -platform windows previewIsCrisp:screen)
    set_tests_properties(tst_frmmain_preview_${dpi} PROPERTIES RUN_SERIAL TRUE TIMEOUT 120
        ENVIRONMENT "SNOETJESMAL_DPI=${dpi}")
endforeach()

# The installer, in a fresh prefix of its own, over an older version it makes the same way,
# and the installed program in a real window; pointed at another program's folder, it must
# leave that program's uninstaller (a stand-in, which needs no DLL of its own) unrun.
add_executable(uninstallstandin windows/uninstallstandin.cpp windows/uninstallstandin.rc)
target_link_options(uninstallstandin PRIVATE -static)
add_test(NAME windows_installer
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/test_installer.sh
        ${SNOETJESMAL_WINDOWS_SETUP} ${SNOETJESMAL_WINDOWS_ZIP} ${PROJECT_SOURCE_DIR}
        $<TARGET_FILE:uninstallstandin>
        "HKCU\\Software\\${SNOETJESMAL_SETTINGS_ORGANISATION}\\${SNOETJESMAL_SETTINGS_APPLICATION}"
        ${SNOETJESMAL_SETTINGS_KEY}
        bash ${PROJECT_SOURCE_DIR}/cmake/windows-package.sh ${SNOETJESMAL_WINDOWS_PACKAGE_OPTIONS}
        $<TARGET_FILE:snoetjesmal> $<TARGET_FILE:snoetjesmal-render>)
set_tests_properties(windows_installer PROPERTIES TIMEOUT 600)

# ./scripts/package-windows in a fresh clone of the last commit, which has only what the
# checkout holds: a build that leans on another build or on a file left in the checkout
# fails here. It builds the program and the renderer once more (Qt for Windows from its cache).
snoetjesmal_find_tools(have_git "The package_clean_clone test" PROGRAMS git)
if(have_git AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
    add_test(NAME package_clean_clone
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/test_package_clone.sh
            ${PROJECT_SOURCE_DIR})
    set_tests_properties(package_clean_clone PROPERTIES TIMEOUT 1800)
elseif(have_git)
    message(STATUS "The package_clean_clone test is left out: the source is no git checkout")
endif()

# The real Snoetjesmal.exe in a real window under Wine, worked as on Linux (test_e2e.sh). The
# pictures are read back from the X server by the Linux build's facecheck.
set(SNOETJESMAL_HOST_BUILD "" CACHE PATH "A Linux build of the project, for its host tools")
find_program(SNOETJESMAL_FACECHECK facecheck
    PATHS ${SNOETJESMAL_HOST_BUILD}/tests/e2e NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
snoetjesmal_find_tools(have_e2e_tools "The e2e_wine test"
    PROGRAMS Xvfb:xvfb xdotool import:imagemagick bash)
if(NOT SNOETJESMAL_FACECHECK)
    snoetjesmal_missing("The e2e_wine test"
        "facecheck from a Linux build (SNOETJESMAL_HOST_BUILD; ./scripts/test builds it first)")
elseif(have_e2e_tools)
    add_test(NAME e2e_wine
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/test_e2e.sh
            $<TARGET_FILE:snoetjesmal> ${SNOETJESMAL_FACECHECK} ${PROJECT_SOURCE_DIR}
            ${SNOETJESMAL_WINEPREFIX} ${SNOETJESMAL_WINE_DLL_PATH})
    # It restarts the prefix's Wine server, which no other test may be using meanwhile.
    set_tests_properties(e2e_wine PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
        ENVIRONMENT "${SNOETJESMAL_SETTINGS_ENVIRONMENT}")
endif()

snoetjesmal_windows_test_fixture()
