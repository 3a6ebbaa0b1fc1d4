# One helper per kind of target, so that flags, visibility, output folders and
# test registration are decided once.

set(TALVEX_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)

function(_talvex_common target)
    target_compile_options(${target} PRIVATE ${TALVEX_WARNINGS})
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
        QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
endfunction()

# talvex_add_library(NAME [SHARED|STATIC] SOURCES ... LIBS ...)
# Shared libraries hide everything that is not marked for export.
function(talvex_add_library name)
    cmake_parse_arguments(ARG "SHARED;STATIC" "" "SOURCES;LIBS;PUBLIC_LIBS" ${ARGN})
    if(ARG_SHARED)
        add_library(${name} SHARED ${ARG_SOURCES})
        target_link_options(${name} PRIVATE -Wl,--no-undefined)
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
        set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    endif()
    _talvex_common(${name})
    set_target_properties(${name} PROPERTIES
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_LIBS})
endfunction()

# talvex_add_plugin(NAME SOURCES ... LIBS ...)
# A module loaded with dlopen: only what its code marks as exported is visible.
function(talvex_add_plugin name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} MODULE ${ARG_SOURCES})
    _talvex_common(${name})
    set_target_properties(${name} PROPERTIES
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON PREFIX "lib")
    target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--exclude-libs,ALL)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# talvex_add_executable(NAME SOURCES ... LIBS ...)
function(talvex_add_executable name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    _talvex_common(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# talvex_add_test(NAME [BOTH_BACKENDS|POSTGRESQL_ONLY] SOURCES ... LIBS ...
#                 [DEPENDS target...])
# A Qt Test executable run headless by CTest. BOTH_BACKENDS runs it a second
# time as NAME_pg over PostgreSQL (see talvex_add_postgresql_variant);
# POSTGRESQL_ONLY runs it as NAME_pg alone.
function(talvex_add_test name)
    cmake_parse_arguments(ARG "BOTH_BACKENDS;POSTGRESQL_ONLY" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    _talvex_common(${name})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
    if(NOT ARG_POSTGRESQL_ONLY)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TALVEX_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
            TIMEOUT 300)
    endif()
    if(ARG_BOTH_BACKENDS OR ARG_POSTGRESQL_ONLY)
        talvex_add_postgresql_variant(${name} COMMAND ${name})
    endif()
endfunction()

# talvex_add_postgresql_variant(NAME COMMAND command...)
# Registers NAME_pg: the command with TALVEX_TEST_BACKEND=postgresql, so that its
# databases live on the PostgreSQL cluster that scripts/test.sh starts and names
# in TALVEX_TEST_PG, which CTest passes on. Without a cluster it fails.
function(talvex_add_postgresql_variant name)
    cmake_parse_arguments(ARG "" "" "COMMAND" ${ARGN})
    add_test(NAME ${name}_pg COMMAND ${ARG_COMMAND})
    set_tests_properties(${name}_pg PROPERTIES
        ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen;TALVEX_BIN_DIR=${CMAKE_BINARY_DIR}/bin;TALVEX_TEST_BACKEND=postgresql"
        LABELS postgresql
        TIMEOUT 300)
endfunction()

# talvex_add_memcheck(TEST [FUNCTION ...])
# Runs test functions of a Qt Test program under valgrind's memcheck, where any
# invalid read or write fails the run. A machine without valgrind fails the test
# rather than skipping it.
function(talvex_add_memcheck test)
    find_program(VALGRIND_PROGRAM valgrind)
    if(NOT VALGRIND_PROGRAM)
        set(VALGRIND_PROGRAM valgrind)
    endif()
    add_test(NAME ${test}_memcheck
        COMMAND ${VALGRIND_PROGRAM} --error-exitcode=1 --quiet $<TARGET_FILE:${test}> ${ARGN})
    set_tests_properties(${test}_memcheck PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TALVEX_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
        TIMEOUT 600)
endfunction()
