# The browser build: the toolkit-free layers compiled to WebAssembly with
# Debian's emscripten (preset web), the analysis page, and the suites that
# run under node. Included by the top CMakeLists.txt when the target is
# emscripten. Nothing here downloads: emscripten's ports are not used, zlib
# and libharu come from third_party/.
enable_language(C)
set(VELKOR_WEB ON)
set(VELKOR_BUILD_GUI OFF CACHE BOOL "Build the Qt program (needs Qt 6 Widgets)" FORCE)
set(VELKOR_PORTABLE_POSIX ON CACHE BOOL "The file layer's portable POSIX path" FORCE)

# emscripten's JavaScript optimiser needs Debian's acorn at every link.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The report layer throws and catches (file errors, wrong files).
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The header-only library comes from the host's /usr/include, which must not
# reach em++ as a whole (its own libc++ headers would be shadowed): a copy of
# just its folder.
set(include_dir ${PROJECT_BINARY_DIR}/host-headers)
foreach(dir nlohmann)
    if(NOT EXISTS /usr/include/${dir})
        message(FATAL_ERROR "/usr/include/${dir} is missing: install nlohmann-json3-dev")
    endif()
    file(COPY /usr/include/${dir} DESTINATION ${include_dir})
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${include_dir})

add_subdirectory(${VELKOR_ROOT}/third_party/zlib ${PROJECT_BINARY_DIR}/third_party/zlib)

# GoogleTest from Debian's sources, built with em++; the suites run under
# node with the host's file system.
if(VELKOR_BUILD_TESTS AND NOT TARGET GTest::gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
set(VELKOR_WEB_TEST_LINK_OPTIONS -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1
    -sALLOW_MEMORY_GROWTH=1)
