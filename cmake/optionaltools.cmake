# Tests and benchmarks that need tools beyond Qt and a compiler (an X server, xdotool, an
# AT-SPI client, an SVG renderer of another make, Google Benchmark, the desktop and packaging
# checkers) join the build only where their tools are found, so that a plain checkout
# configures anywhere.
# The presets that ./scripts/test uses set SNOETJESMAL_REQUIRE_ALL, under which a missing tool
# stops the configuration instead: there every test must run.
option(SNOETJESMAL_REQUIRE_ALL
    "Stop when a tool of an optional test or benchmark is missing, rather than leave it out" OFF)

# Reports that what needs the tools cannot be built or run: an error under
# SNOETJESMAL_REQUIRE_ALL, otherwise a note that it is left out.
function(snoetjesmal_missing what missing)
    if(SNOETJESMAL_REQUIRE_ALL)
        message(FATAL_ERROR "${what} needs ${missing} (./scripts/setup installs it)")
    else()
        message(STATUS "${what} is left out: ${missing} not found")
    endif()
endfunction()

# Finds every program named after PROGRAMS and sets <var> to TRUE when all are there; when one
# is not, reports it through snoetjesmal_missing with the package that brings it. Each program
# is cached as SNOETJESMAL_TOOL_<NAME>.
#   snoetjesmal_find_tools(<var> <what> PROGRAMS name[:package] ...)
function(snoetjesmal_find_tools var what)
    cmake_parse_arguments(ARG "" "" "PROGRAMS" ${ARGN})
    set(missing)
    foreach(entry IN LISTS ARG_PROGRAMS)
        string(REPLACE ":" ";" parts "${entry}")
        list(GET parts 0 name)
        list(LENGTH parts count)
        set(package ${name})
        if(count GREATER 1)
            list(GET parts 1 package)
        endif()
        string(MAKE_C_IDENTIFIER "${name}" id)
        string(TOUPPER "${id}" id)
        find_program(SNOETJESMAL_TOOL_${id} ${name})
        if(NOT SNOETJESMAL_TOOL_${id})
            list(APPEND missing "${name} (package ${package})")
        endif()
    endforeach()
    if(missing)
        list(JOIN missing ", " text)
        snoetjesmal_missing("${what}" "${text}")
        set(${var} FALSE PARENT_SCOPE)
    else()
        set(${var} TRUE PARENT_SCOPE)
    endif()
endfunction()
