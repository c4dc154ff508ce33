# Installation and the Debian package: the two programs, the desktop entry,
# the project-file type and the program icon in the hicolor theme.
#   cmake --install <build> --prefix /usr/local
#   cpack -G DEB --config <build>/CPackConfig.cmake
include(GNUInstallDirs)

set(VELKOR_DESKTOP_DIR ${VELKOR_ROOT}/res/desktop)

if(TARGET velkor-report)
    install(TARGETS velkor-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The PDF writer, which velkor-report starts from ../lib/velkor/.
if(TARGET velkor-report-pdf)
    install(TARGETS velkor-report-pdf RUNTIME DESTINATION lib/velkor)
endif()

if(TARGET velkor)
    install(TARGETS velkor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${VELKOR_DESKTOP_DIR}/velkor.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${VELKOR_DESKTOP_DIR}/velkor-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME velkor.xml)

    # The theme's pictures come from the window icon, scaled by a small host
    # tool at build time.
    set(VELKOR_ICON_SIZES 16 32 48 256)
    find_package(Qt6 REQUIRED COMPONENTS Gui)
    add_executable(velkor-make-icons ${CMAKE_CURRENT_LIST_DIR}/MakeIcons.cpp)
    target_link_libraries(velkor-make-icons PRIVATE velkor_res Qt6::Gui)
    set(icon_dir ${PROJECT_BINARY_DIR}/icons)
    set(icon_files)
    foreach(size IN LISTS VELKOR_ICON_SIZES)
        list(APPEND icon_files ${icon_dir}/velkor-${size}.png)
    endforeach()
    add_custom_command(OUTPUT ${icon_files}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
        COMMAND velkor-make-icons ${icon_dir} ${VELKOR_ICON_SIZES}
        DEPENDS velkor-make-icons
        COMMENT "Scaling the program icon for the icon theme" VERBATIM)
    add_custom_target(velkor_icons ALL DEPENDS ${icon_files})
    foreach(size IN LISTS VELKOR_ICON_SIZES)
        install(FILES ${icon_dir}/velkor-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME velkor.png)
    endforeach()
endif()

# The Debian package, when Velkor is the top-level project (a parent project
# packages itself). dpkg-shlibdeps finds the libraries' packages (Qt, the C++
# runtime); the dialog font is a data package it cannot see.
if(NOT PROJECT_IS_TOP_LEVEL)
    return()
endif()
set(CPACK_PACKAGE_NAME velkor)
set(CPACK_PACKAGE_VENDOR "Velkor developers")
set(CPACK_PACKAGE_CONTACT "Velkor developers <velkor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Velkor assesses the risk of a software project from an 81-question questionnaire "
    "and computes 28 success probabilities; velkor-report writes its text, HTML, "
    "JSON, CSV, SVG and PDF reports from project files and imports JSON back.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/velkor")
find_program(VELKOR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VELKOR_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6gui6, libqt6svg6, libqt6core6, libstdc++6, fonts-liberation2")
endif()
# The package holds what the install rules above name, and nothing else.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)

# The package test: builds the package into a temporary folder, unpacks it and
# checks its files (skipped when the Debian tools are missing).
if(VELKOR_BUILD_TESTS AND TARGET velkor)
    string(REPLACE ";" "," icon_sizes "${VELKOR_ICON_SIZES}")
    add_test(NAME velkor_package
        COMMAND ${CMAKE_COMMAND}
            -DCPACK=${CMAKE_CPACK_COMMAND}
            -DCONFIG=${PROJECT_BINARY_DIR}/CPackConfig.cmake
            -DWORK=${PROJECT_BINARY_DIR}/package-test
            -DDESKTOP=${VELKOR_DESKTOP_DIR}/velkor.desktop
            -DICON_SIZES=${icon_sizes}
            -P ${VELKOR_ROOT}/tests/install/PackageTest.cmake)
    set_tests_properties(velkor_package PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED:" TIMEOUT 120)
endif()
