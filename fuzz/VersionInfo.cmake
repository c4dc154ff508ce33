# fuzz_version_info: the version reader on arbitrary section contents and
# arbitrary files. The seed writer is not named fuzz_* so that loops over the
# fuzzers leave it out. `cmake --build <dir> --target run_fuzz_version_info` writes
# the seeds and runs it for 60 seconds (VELKOR_FUZZ_SECONDS).
if(TARGET velkor_versioninfo)
    target_compile_options(velkor_versioninfo PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                                                      -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(velkor_versioninfo INTERFACE -fsanitize=address,undefined)

    velkor_add_fuzzer(fuzz_version_info ${CMAKE_CURRENT_LIST_DIR}/VersionInfoFuzzer.cpp
                      velkor_versioninfo velkor_versionblock)
    target_include_directories(fuzz_version_info PRIVATE ${VELKOR_ROOT}/tests/platform)

    add_executable(velkor_version_info_seeds ${CMAKE_CURRENT_LIST_DIR}/VersionInfoSeeds.cpp)
    target_link_libraries(velkor_version_info_seeds PRIVATE velkor_versionblock)
    target_include_directories(velkor_version_info_seeds PRIVATE ${VELKOR_ROOT}/tests/platform)

    set(VELKOR_FUZZ_SECONDS 60 CACHE STRING "How long run_fuzz_* targets fuzz")
    set(corpus ${CMAKE_CURRENT_BINARY_DIR}/corpus_version_info)
    add_custom_target(run_fuzz_version_info
        COMMAND ${CMAKE_COMMAND} -E make_directory ${corpus}
        COMMAND velkor_version_info_seeds ${corpus}
        COMMAND fuzz_version_info -max_total_time=${VELKOR_FUZZ_SECONDS} -max_len=8192
                -print_final_stats=1 ${corpus}
        DEPENDS fuzz_version_info velkor_version_info_seeds
        USES_TERMINAL VERBATIM)
endif()
