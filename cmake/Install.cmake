# Installation and the Debian package: the two programs, their manual pages,
# the desktop entry, the project-file type, the AppStream metainfo and the
# program icon in the hicolor theme.
#   cmake --install <build> --prefix /usr/local
#   ./package     (builds what the package holds, then runs cpack -G DEB)

# cmake -DIN=file -DOUT=file.gz -P Install.cmake: compresses as Debian wants
# it (best, without the name and time stamp, so that builds are reproducible).
if(CMAKE_SCRIPT_MODE_FILE)
    execute_process(COMMAND gzip -9nc ${IN} OUTPUT_FILE ${OUT}.new RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "gzip ${IN} failed")
    endif()
    file(RENAME ${OUT}.new ${OUT})
    return()
endif()

include(GNUInstallDirs)

set(VELKOR_DESKTOP_DIR ${VELKOR_ROOT}/res/desktop)

set(VELKOR_PACKAGE_DIR ${VELKOR_ROOT}/res/package)
set(VELKOR_MAN_DIR ${VELKOR_ROOT}/docs/man)
set(VELKOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/velkor)
get_property(VELKOR_ICON_SIZES GLOBAL PROPERTY VELKOR_ICON_SIZES)
get_property(VELKOR_ICON_DIR GLOBAL PROPERTY VELKOR_ICON_DIR)

# Manual pages and the changelog, gzipped at build time.
set(gz_dir ${PROJECT_BINARY_DIR}/gz)
set(gz_files)
function(velkor_gzip in out)
    add_custom_command(OUTPUT ${gz_dir}/${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${gz_dir}
        COMMAND ${CMAKE_COMMAND} -DIN=${in} -DOUT=${gz_dir}/${out} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
        DEPENDS ${in} VERBATIM)
    set(gz_files ${gz_files} ${gz_dir}/${out} PARENT_SCOPE)
endfunction()
velkor_gzip(${VELKOR_PACKAGE_DIR}/changelog changelog.gz)
install(FILES ${gz_dir}/changelog.gz ${VELKOR_PACKAGE_DIR}/copyright DESTINATION ${VELKOR_DOC_DIR})

if(TARGET velkor-report)
    install(TARGETS velkor-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    velkor_gzip(${VELKOR_MAN_DIR}/velkor-report.1 velkor-report.1.gz)
    install(FILES ${gz_dir}/velkor-report.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TARGET velkor)
    install(TARGETS velkor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    velkor_gzip(${VELKOR_MAN_DIR}/velkor.1 velkor.1.gz)
    install(FILES ${gz_dir}/velkor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${VELKOR_DESKTOP_DIR}/velkor.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${VELKOR_DESKTOP_DIR}/velkor-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME velkor.xml)
    install(FILES ${VELKOR_DESKTOP_DIR}/dev.velkor.Velkor.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # The theme's pictures, rendered from the SVG by res/icons.cmake.
    foreach(size IN LISTS VELKOR_ICON_SIZES)
        install(FILES ${VELKOR_ICON_DIR}/velkor-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME velkor.png)
    endforeach()
    install(FILES ${VELKOR_DESKTOP_DIR}/velkor.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
add_custom_target(velkor_gz ALL DEPENDS ${gz_files})

# The analysis page, opened in the default browser by its desktop entry.
include(${VELKOR_ROOT}/cmake/web/Page.cmake)
if(VELKOR_ANALYSIS_PAGE)
    install(FILES ${VELKOR_ANALYSIS_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/velkor)
    install(FILES ${VELKOR_DESKTOP_DIR}/velkor-analysis.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # Its entry runs xdg-open, which another package brings.
    install(FILES ${VELKOR_ROOT}/res/package/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME velkor)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()

# The Debian package, when Velkor is the top-level project (a parent project
# packages itself). dpkg-shlibdeps finds the libraries' packages (Qt, the C++
# runtime); the dialog font is a data package it cannot see.
if(NOT PROJECT_IS_TOP_LEVEL)
    return()
endif()
set(CPACK_PACKAGE_NAME velkor)
set(CPACK_PACKAGE_VENDOR "Velkor Project")
set(CPACK_PACKAGE_CONTACT "Velkor developers <maintainers@velkor.dev>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The synopsis is the project's description; this is the extended one, in
# lines short enough for dpkg (CPack indents them, "." is an empty line).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velkor estimates how likely a software project is to succeed, and where it
is weakest. You answer 81 questions in ten categories and Velkor computes
28 success probabilities: per category, per life-cycle phase and per
risk-management activity, and a total weighted by your own priorities.
.
velkor-report writes its text, HTML, JSON, CSV, SVG and PDF reports from
project files on the command line and imports JSON back.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velkor.dev")
# The programs ship without their debugging symbols.
set(CPACK_STRIP_FILES ON)
find_program(VELKOR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VELKOR_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6gui6, libqt6svg6, libqt6core6, libhpdf-2.3.0, libstdc++6, fonts-liberation2")
endif()
# The package holds what the install rules above name, and nothing else.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)

# The package test: builds the package into a temporary folder, unpacks it and
# checks its files (it fails when a Debian tool it needs is missing).
if(VELKOR_BUILD_TESTS AND TARGET velkor)
    string(REPLACE ";" "," icon_sizes "${VELKOR_ICON_SIZES}")
    add_test(NAME velkor_package
        COMMAND ${CMAKE_COMMAND}
            -DCPACK=${CMAKE_CPACK_COMMAND}
            -DCONFIG=${PROJECT_BINARY_DIR}/CPackConfig.cmake
            -DWORK=${PROJECT_BINARY_DIR}/package-test
            -DDESKTOP=${VELKOR_DESKTOP_DIR}/velkor.desktop
            -DICON_SIZES=${icon_sizes}
            -DANALYSIS=$<BOOL:${VELKOR_ANALYSIS_PAGE}>
            -P ${VELKOR_ROOT}/tests/install/PackageTest.cmake)
    set_tests_properties(velkor_package PROPERTIES TIMEOUT 400)
endif()
