# Warnings that every target of ours builds with.
function(orlix6_strict_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    # g++ 12 at -O3 reports std::string concatenation inside libstdc++ as an
    # overlapping memcpy (a known false positive, GCC bug 105329).
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
       AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 14)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

# Fails the configure step when a target links or includes Qt.
function(orlix6_assert_no_qt target)
    foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES)
        get_target_property(values ${target} ${prop})
        if(values AND "${values}" MATCHES "Qt[56]?::|[Qq]t6")
            message(FATAL_ERROR "${target} must not use Qt (${prop}: ${values})")
        endif()
    endforeach()
endfunction()

# Fails the configure step when a target links the Qt parts that need a
# display (orlix6-cli and the adapters it uses run on a bare server).
function(orlix6_assert_no_widgets target)
    foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(values ${target} ${prop})
        if(values AND "${values}" MATCHES "Qt6::(Gui|Widgets)|orlix6_qt")
            message(FATAL_ERROR "${target} must not use Qt widgets (${prop}: ${values})")
        endif()
    endforeach()
endfunction()

# One test executable per test source: tests/<area>/foo_test.cpp -> tst_foo.
function(orlix6_add_gtests area)
    cmake_parse_arguments(ARG "" "" "LIBS;DEFINES" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/*_test.cpp)
    foreach(source ${sources})
        get_filename_component(name ${source} NAME_WE)
        string(REGEX REPLACE "_test$" "" unit ${name})
        set(exe tst_${unit})
        add_executable(${exe} ${source})
        target_link_libraries(${exe} PRIVATE ${ARG_LIBS})
        target_compile_definitions(${exe} PRIVATE ${ARG_DEFINES})
        orlix6_strict_warnings(${exe})
        gtest_discover_tests(${exe} DISCOVERY_TIMEOUT 60)
    endforeach()
endfunction()
