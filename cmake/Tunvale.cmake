# Small helpers shared by the CMakeLists of every directory.

# tunvale_library(NAME [SHARED] SOURCES ... LINKS ...): a library whose public headers sit beside its
# sources (or in include/ for components).
function(tunvale_library name)
    cmake_parse_arguments(ARG "SHARED" "" "SOURCES;LINKS" ${ARGN})
    if(NOT ARG_SOURCES)
        # A directory that later work fills: a real target with nothing to compile yet.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_LINKS})
        return()
    endif()
    if(ARG_SHARED)
        add_library(${name} SHARED ${ARG_SOURCES})
        install(TARGETS ${name} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
        set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    endif()
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/include)
        target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
    endif()
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# tunvale_test(AREA SOURCES ... LINKS ...): one GoogleTest executable per area, registered with ctest.
# Tests run offscreen and never start a JACK server.
function(tunvale_test area)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    set(target test_${area})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE tunvale_test_support ${ARG_LINKS} GTest::gtest GTest::gmock)
    gtest_discover_tests(${target}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;JACK_NO_START_SERVER=1;TUNVALE_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        LABELS ${area})
endfunction()
