# The program icon: velkor-make-icons renders res/desktop/velkor*.svg at every
# size of the icon theme into <build>/icons/velkor-SIZE.png (installed by
# cmake/Install.cmake) and embeds the same PNG files in velkor_res for the
# window icon. A build without the Qt program gets no icon pictures.
set(VELKOR_ICON_SIZES 16 32 48 64 128 256)
set(VELKOR_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
set_property(GLOBAL PROPERTY VELKOR_ICON_SIZES ${VELKOR_ICON_SIZES})
set_property(GLOBAL PROPERTY VELKOR_ICON_DIR ${VELKOR_ICON_DIR})
set(icon_cpp ${VELKOR_ICON_DIR}/IconData.cpp)

if(VELKOR_BUILD_GUI)
    find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
    add_executable(velkor-make-icons ${VELKOR_ROOT}/cmake/MakeIcons.cpp)
    target_link_libraries(velkor-make-icons PRIVATE Qt6::Gui Qt6::Svg)
    file(GLOB svgs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/desktop/velkor*.svg)
    set(icon_files ${icon_cpp})
    foreach(size IN LISTS VELKOR_ICON_SIZES)
        list(APPEND icon_files ${VELKOR_ICON_DIR}/velkor-${size}.png)
    endforeach()
    # Qt keeps caches for the program's lifetime; a sanitizer build must not
    # call them leaks here.
    add_custom_command(OUTPUT ${icon_files}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VELKOR_ICON_DIR}
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:velkor-make-icons> ${VELKOR_ICON_DIR}
                ${CMAKE_CURRENT_SOURCE_DIR}/desktop ${VELKOR_ICON_SIZES}
        DEPENDS velkor-make-icons ${svgs}
        COMMENT "Rendering the program icon"
        VERBATIM)
else()
    string(CONCAT stub
        "// A build without the Qt program has no icon pictures.\n"
        "#include \"res/Images.h\"\n\n"
        "std::vector<CResImage> MainIconImages()\n{\n    return {};\n}\n")
    file(CONFIGURE OUTPUT ${icon_cpp} CONTENT "${stub}")
endif()
target_sources(velkor_res PRIVATE ${icon_cpp})
