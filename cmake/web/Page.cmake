# velkor-analysis.html for the packages: with VELKOR_WEB_PAGE on, the Linux
# and Windows builds make the page with Debian's emscripten in <build>/web
# (the web configuration of this tree, without its suites) and set
# VELKOR_ANALYSIS_PAGE to it; the target velkor_web_page builds it.
option(VELKOR_WEB_PAGE "Build velkor-analysis.html (needs emscripten) for the packages" OFF)
set(VELKOR_ANALYSIS_PAGE "")
if(NOT VELKOR_WEB_PAGE)
    return()
endif()
find_program(VELKOR_EMCC em++)
if(NOT VELKOR_EMCC)
    message(FATAL_ERROR "VELKOR_WEB_PAGE needs emscripten (apt-get install emscripten nodejs)")
endif()
include(ExternalProject)
set(web_dir ${PROJECT_BINARY_DIR}/web)
set(VELKOR_ANALYSIS_PAGE ${web_dir}/velkor-analysis.html)
ExternalProject_Add(velkor_web_page
    SOURCE_DIR ${VELKOR_ROOT}
    BINARY_DIR ${web_dir}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
               -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DCMAKE_BUILD_TYPE=Release
               "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG"
               -DVELKOR_BUILD_TESTS=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
               -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
    BUILD_COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
                  ${CMAKE_COMMAND} --build <BINARY_DIR> --target velkor_analysis_page
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${VELKOR_ANALYSIS_PAGE}
    USES_TERMINAL_BUILD ON)
