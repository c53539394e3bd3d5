# What the windowed program carries inside itself as Qt resources: the icon
# in PNG sizes made from the SVG at build time (rsvg-convert, Debian package
# librsvg2-bin), and the manual's pages.

set(ORLIX6_ICON_SVG ${CMAKE_SOURCE_DIR}/data/icons/orlix6.svg)
set(ORLIX6_ICON_SIZES 16 22 24 32 48 64 128 256)
set(ORLIX6_ICON_DIR ${CMAKE_BINARY_DIR}/icons)

find_program(ORLIX6_RSVG_CONVERT rsvg-convert)
if(NOT ORLIX6_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert not found: install librsvg2-bin (scripts/install-deps.sh does)")
endif()

set(ORLIX6_ICON_PNGS)
foreach(size ${ORLIX6_ICON_SIZES})
    set(png ${ORLIX6_ICON_DIR}/orlix6-${size}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ORLIX6_ICON_DIR}
        COMMAND ${ORLIX6_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${ORLIX6_ICON_SVG}
        DEPENDS ${ORLIX6_ICON_SVG}
        COMMENT "Icon ${size}x${size}"
        VERBATIM)
    list(APPEND ORLIX6_ICON_PNGS ${png})
endforeach()

file(GLOB ORLIX6_MANUAL_FILES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/doc/manual/*.html ${CMAKE_SOURCE_DIR}/doc/manual/*.css)

function(orlix6_bundle_resources target)
    qt_add_resources(${target} orlix6_icons PREFIX /icons BASE ${ORLIX6_ICON_DIR}
        FILES ${ORLIX6_ICON_PNGS})
    qt_add_resources(${target} orlix6_manual PREFIX /manual BASE ${CMAKE_SOURCE_DIR}/doc/manual
        FILES ${ORLIX6_MANUAL_FILES})
endfunction()
