# The version information of Velkor's program files.
#
# velkor_embed_version_info(<target> [FLAGS <VS_FF_ bits>])
#   Generates the target's version block (VS_VERSIONINFO layout) from the values
#   in VersionValues.cmake and links it into the executable in the section named
#   in VersionSection.h, where platform/VersionInfo reads it back from the file.
#   FLAGS sets the file flags (0x01 debug, 0x02 pre-release, 0x08 private build,
#   0x20 special build); the default is none.

# The generator runs on the build machine; the block builder is also a small
# library for tests and fuzzing that need valid blocks to start from.
add_library(velkor_versionblock STATIC ${CMAKE_CURRENT_LIST_DIR}/gen/VersionBlock.cpp)
target_include_directories(velkor_versionblock PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}/gen> $<BUILD_INTERFACE:${VELKOR_ROOT}>)
target_compile_features(velkor_versionblock PUBLIC cxx_std_20)

add_executable(velkor_versiongen ${CMAKE_CURRENT_LIST_DIR}/gen/VersionGen.cpp)
target_link_libraries(velkor_versiongen PRIVATE velkor_versionblock)

function(velkor_embed_version_info target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "FLAGS" "")
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "velkor_embed_version_info: unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
        message(FATAL_ERROR "velkor_embed_version_info: ${target} is not an executable")
    endif()
    if(NOT DEFINED ARG_FLAGS)
        set(ARG_FLAGS 0)
    endif()
    math(EXPR flags "${ARG_FLAGS}" OUTPUT_FORMAT HEXADECIMAL)

    set(VELKOR_VERSION_TARGET ${target})
    include(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VersionValues.cmake)
    set(strings ${VELKOR_VERSION_STRINGS})
    math(EXPR private "${flags} & 0x08")
    if(private)
        list(APPEND strings PrivateBuild "${VELKOR_VERSION_PRIVATE_BUILD}")
    endif()
    math(EXPR special "${flags} & 0x20")
    if(special)
        list(APPEND strings SpecialBuild "${VELKOR_VERSION_SPECIAL_BUILD}")
    endif()

    set(args)
    list(LENGTH strings count)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 2)
        math(EXPR j "${i} + 1")
        list(GET strings ${i} name)
        list(GET strings ${j} value)
        list(APPEND args "${name}=${value}")
    endforeach()

    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp)
    add_custom_command(OUTPUT ${out}
        COMMAND velkor_versiongen ${out} ${VELKOR_VERSION_FILE} ${VELKOR_VERSION_PRODUCT}
                ${flags} ${args}
        DEPENDS velkor_versiongen ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VersionValues.cmake
        COMMENT "Generating the version block of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${out})
endfunction()
