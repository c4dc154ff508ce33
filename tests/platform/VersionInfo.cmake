# Tests of the version reader and of the version blocks the build embeds.

# A program stamped with the debug, pre-release, private-build and
# special-build flags.
add_executable(velkor_version_flagged ${CMAKE_CURRENT_LIST_DIR}/VersionProbe.cpp)
velkor_embed_version_info(velkor_version_flagged FLAGS 0x2B)

velkor_add_test(velkor_versioninfo_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/VersionInfoTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/VersionDamageTest.cpp
    LIBS velkor_versioninfo velkor_versionblock)
# The test program reads its own version information as the about box does.
velkor_embed_version_info(velkor_versioninfo_tests)
add_dependencies(velkor_versioninfo_tests velkor_version_flagged)
target_compile_definitions(velkor_versioninfo_tests PRIVATE
    VELKOR_FLAGGED_PROGRAM="$<TARGET_FILE:velkor_version_flagged>"
    VELKOR_PLAIN_PROGRAM="$<TARGET_FILE:velkor_versiongen>")
# The program itself, where it is built.
if(TARGET velkor)
    add_dependencies(velkor_versioninfo_tests velkor)
    target_compile_definitions(velkor_versioninfo_tests PRIVATE VELKOR_PROGRAM="$<TARGET_FILE:velkor>")
endif()
