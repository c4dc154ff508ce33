# The windows' benchmarks and the whole-process start-up harness (needs the GUI).
if(NOT TARGET velkor_ui)
    return()
endif()
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_executable(velkor_bench_ui UiBench.cpp)
target_link_libraries(velkor_bench_ui PRIVATE velkor_ui benchmark::benchmark)

# The baseline of the start-up figure: an empty dialog of the same size.
add_executable(velkor_bench_bare_dialog BareDialog.cpp)
target_link_libraries(velkor_bench_bare_dialog PRIVATE Qt6::Widgets)

add_executable(velkor_bench_startup StartupHarness.cpp)
add_dependencies(velkor_bench_startup velkor velkor-report velkor_bench_bare_dialog)
