# The about box, offscreen. The test program carries version information of its
# own, as the real program does.
velkor_add_test(velkor_ui_about_tests GUI
    SOURCES ${VELKOR_ROOT}/tests/platform/GuiTestMain.cpp ${CMAKE_CURRENT_LIST_DIR}/AboutDlgTest.cpp
    LIBS velkor_ui velkor_versionblock Qt6::Test)
velkor_embed_version_info(velkor_ui_about_tests)
target_include_directories(velkor_ui_about_tests PRIVATE ${VELKOR_ROOT}/tests/platform)
add_dependencies(velkor_ui_about_tests velkor velkor_version_flagged)
target_compile_definitions(velkor_ui_about_tests PRIVATE
    VELKOR_PROGRAM="$<TARGET_FILE:velkor>"
    VELKOR_FLAGGED_PROGRAM="$<TARGET_FILE:velkor_version_flagged>")
