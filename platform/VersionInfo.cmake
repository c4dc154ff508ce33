# velkor_versioninfo: the version API over the version section of ELF files.
# Standard library and <elf.h> only; no Qt.
add_library(velkor_versioninfo STATIC ${CMAKE_CURRENT_LIST_DIR}/VersionInfo.cpp)
target_include_directories(velkor_versioninfo PUBLIC $<BUILD_INTERFACE:${VELKOR_ROOT}>)
target_link_libraries(velkor_versioninfo PUBLIC velkor_res)
target_compile_features(velkor_versioninfo PUBLIC cxx_std_20)
