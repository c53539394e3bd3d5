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

# Fails the configure step when what `target` links (and, with
# INCLUDES, includes) matches `pattern`; `what` names it in the message.
function(orlix6_assert_not_using target pattern what)
    cmake_parse_arguments(ARG "INCLUDES" "" "" ${ARGN})
    set(props LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    if(ARG_INCLUDES)
        list(APPEND props INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES)
    endif()
    foreach(prop ${props})
        get_target_property(values ${target} ${prop})
        if(values AND "${values}" MATCHES "${pattern}")
            message(FATAL_ERROR "${target} must not use ${what} (${prop}: ${values})")
        endif()
    endforeach()
endfunction()

# The core and the simulated unit never see Qt.
function(orlix6_assert_no_qt target)
    orlix6_assert_not_using(${target} "Qt[56]?::|[Qq]t6" "Qt" INCLUDES)
endfunction()

# orlix6-cli and the adapters it uses run on a server without a display.
function(orlix6_assert_no_widgets target)
    orlix6_assert_not_using(${target} "Qt6::(Gui|Widgets)|orlix6_qt" "Qt widgets")
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
