# The Windows build: the same tree cross-compiled with mingw-w64 (see
# toolchain-mingw64.cmake), without Qt. Included by the top CMakeLists.txt
# when the target is Windows.
#
# Build-time tools (the version block generator) and the Linux velkor-report
# that the Windows one is compared with come from a host build of this tree
# in <build>/host, made by the build itself: CMake does not run custom
# commands through the emulator.
include(ExternalProject)

enable_language(C) # the libraries built from source (libharu)
enable_language(RC)
set(VELKOR_WINDOWS ON)
set(VELKOR_BUILD_GUI OFF CACHE BOOL "Build the Qt program (needs Qt 6 Widgets)" FORCE)

add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0A00)

# Every wine call of the build and its tests uses one prefix inside the build folder.
set(VELKOR_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${PROJECT_BINARY_DIR}/wine-run
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                     WORLD_READ WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)
# Wine's drive for the host's root: the tests name files as Windows would.
set(VELKOR_TEST_DRIVE "Z:")

# The portable zip (cmake/windows/Package.cmake).
set(VELKOR_ZIP_FILE ${PROJECT_BINARY_DIR}/velkor-${PROJECT_VERSION}-windows-x64.zip)

set(VELKOR_HOST_DIR ${PROJECT_BINARY_DIR}/host)
set(VELKOR_HOST_REPORT ${VELKOR_HOST_DIR}/tools/velkor-report)
ExternalProject_Add(velkor_host
    SOURCE_DIR ${VELKOR_ROOT}
    BINARY_DIR ${VELKOR_HOST_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
               -DVELKOR_BUILD_GUI=OFF -DVELKOR_BUILD_TESTS=OFF
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target velkor_versiongen velkor-report
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${VELKOR_HOST_DIR}/version/velkor_versiongen ${VELKOR_HOST_REPORT}
    USES_TERMINAL_BUILD ON)
add_executable(velkor_versiongen IMPORTED GLOBAL)
set_target_properties(velkor_versiongen PROPERTIES
    IMPORTED_LOCATION ${VELKOR_HOST_DIR}/version/velkor_versiongen)
add_dependencies(velkor_versiongen velkor_host)

# The header-only libraries come from the host's /usr/include, which must
# not reach the Windows compiler as a whole: a copy of just their folders.
set(include_dir ${PROJECT_BINARY_DIR}/host-headers)
foreach(dir CLI nlohmann)
    if(NOT EXISTS /usr/include/${dir})
        message(FATAL_ERROR "/usr/include/${dir} is missing: install libcli11-dev and nlohmann-json3-dev")
    endif()
    file(COPY /usr/include/${dir} DESTINATION ${include_dir})
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${include_dir})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${include_dir})

# GoogleTest from Debian's sources, built with the cross compiler.
if(VELKOR_BUILD_TESTS AND NOT TARGET GTest::gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    # It defines GTest::gtest and GTest::gtest_main itself.
    add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The prefix is made by the build (8 to 16 s, once), not by the first test,
# so that no test's time limit or output sees it being made.
add_custom_command(OUTPUT ${VELKOR_WINEPREFIX}/system.reg
    COMMAND ${PROJECT_BINARY_DIR}/wine-run wineboot --init
    COMMENT "Creating the wine prefix ${VELKOR_WINEPREFIX}"
    VERBATIM)
add_custom_target(velkor_wineprefix ALL DEPENDS ${VELKOR_WINEPREFIX}/system.reg)
