# Install rules and the Debian package (make package): the programs in
# /usr/bin, the desktop entry, the icon in the hicolor theme, manual pages,
# the manual as web pages, and the copyright and changelog Debian wants.
# Dependencies come from dpkg-shlibdeps. The package installs no udev rule
# and changes no group: the README and the manual say how to join dialout.
#
# Included last, so that every program target (orlix6-cli comes from its
# own part of the build) exists when the rules are made.

include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(ORLIX6_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orlix6)
set(ORLIX6_GZ_DIR ${CMAKE_BINARY_DIR}/packaging)

# The changelog's newest entry must name the version being built.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog ORLIX6_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ORLIX6_CHANGELOG_TOP MATCHES "^orlix6 \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not start with version ${PROJECT_VERSION}: "
        "add an entry for it")
endif()

# Debian wants manual pages and changelogs compressed, without time stamps.
set(ORLIX6_GZ_FILES)
function(orlix6_gzip source name)
    set(out ${ORLIX6_GZ_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ORLIX6_GZ_DIR}
        COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${source} ${out}
        DEPENDS ${source}
        VERBATIM)
    set(ORLIX6_GZ_FILES ${ORLIX6_GZ_FILES} ${out} PARENT_SCOPE)
endfunction()

set(ORLIX6_PROGRAMS)
foreach(program orlix6 orlix6-sim orlix6-cli)
    if(TARGET ${program})
        list(APPEND ORLIX6_PROGRAMS ${program})
        orlix6_gzip(${CMAKE_SOURCE_DIR}/doc/man/${program}.1 ${program}.1)
    endif()
endforeach()
orlix6_gzip(${CMAKE_SOURCE_DIR}/packaging/changelog changelog)
add_custom_target(orlix6_package_files ALL DEPENDS ${ORLIX6_GZ_FILES})

install(TARGETS ${ORLIX6_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program ${ORLIX6_PROGRAMS})
    install(FILES ${ORLIX6_GZ_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/data/orlix6.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${ORLIX6_ICON_SIZES})
    install(FILES ${ORLIX6_ICON_DIR}/orlix6-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME orlix6.png)
endforeach()
install(FILES ${ORLIX6_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

install(FILES ${ORLIX6_MANUAL_FILES} DESTINATION ${ORLIX6_DOC_DIR}/manual)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${ORLIX6_GZ_DIR}/changelog.gz
    DESTINATION ${ORLIX6_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/orlix6-manual.doc-base
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base RENAME orlix6-manual)

# Bind every symbol at start, as Debian builds its own packages.
foreach(program ${ORLIX6_PROGRAMS})
    target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
endforeach()

if(TARGET orlix6-cli)
    set(ORLIX6_CLI_TEXT "the command-line tool for scripts and production lines
(orlix6-cli), and ")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orlix6)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orlix6 developers")
set(CPACK_PACKAGE_CONTACT "Orlix6 developers <orlix6@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service and adjustment tool for Norvique display units")
set(CPACK_PACKAGE_DESCRIPTION "Orlix6 connects to a Norvique display unit over a serial line (local or
through a network serial server), reads the unit's data set into .mdv
files and compares them, shows and logs the serial traffic, sets the RGB
backlight, runs the bugeye test and downloads firmware into the unit's
boot loader.
.
The package holds the windowed tool (orlix6) with its manual, which opens
offline on F1, ${ORLIX6_CLI_TEXT}a simulated unit for trying the tools without
one (orlix6-sim).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
