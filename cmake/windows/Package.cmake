# The portable zip of the Windows build: velkor-<version>-windows-x64.zip
# with velkor.exe, velkor-report.exe, the PDF font and its licence, the README and the
# licence. Built by the target velkor_zip (part of "all").
set(zip_name velkor-${PROJECT_VERSION}-windows-x64)
set(zip_dir ${PROJECT_BINARY_DIR}/${zip_name})
set(zip_file ${VELKOR_ZIP_FILE})
set(zip_docs ${VELKOR_ROOT}/README.md ${VELKOR_ROOT}/res/package/copyright)
set(font_dir /usr/share/fonts/truetype/liberation2)
set(zip_fonts ${font_dir}/LiberationSans-Regular.ttf ${font_dir}/LiberationSans-Bold.ttf
              /usr/share/doc/fonts-liberation2/copyright)
# The analysis page beside the programs, when the build makes it.
include(${VELKOR_ROOT}/cmake/web/Page.cmake)
set(page_copy)
set(page_depends)
set(nsi_page)
if(VELKOR_ANALYSIS_PAGE)
    set(page_copy COMMAND ${CMAKE_COMMAND} -E copy ${VELKOR_ANALYSIS_PAGE} ${zip_dir})
    set(page_depends velkor_web_page)
    set(nsi_page -DANALYSIS=1)
endif()
add_custom_command(OUTPUT ${zip_file}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_dir}/fonts
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velkor> $<TARGET_FILE:velkor-report> ${zip_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${VELKOR_ROOT}/README.md ${zip_dir}/README.md
    COMMAND ${CMAKE_COMMAND} -E copy ${VELKOR_ROOT}/res/package/copyright ${zip_dir}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${font_dir}/LiberationSans-Regular.ttf
            ${font_dir}/LiberationSans-Bold.ttf ${zip_dir}/fonts
    COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-liberation2/copyright
            ${zip_dir}/fonts/LICENSE-LiberationSans.txt
    ${page_copy}
    COMMAND ${CMAKE_COMMAND} -E chdir ${PROJECT_BINARY_DIR}
            ${CMAKE_COMMAND} -E tar cf ${zip_file} --format=zip ${zip_name}
    DEPENDS velkor velkor-report ${zip_docs} ${zip_fonts} ${page_depends}
    COMMENT "Packing ${zip_name}.zip"
    VERBATIM)
add_custom_target(velkor_zip ALL DEPENDS ${zip_file})

# The installer velkor-<version>-windows-x64-setup.exe (NSIS, 64-bit stub),
# from the same files: target velkor_installer (part of "all").
find_program(VELKOR_MAKENSIS makensis REQUIRED)
set(setup_file ${PROJECT_BINARY_DIR}/velkor-${PROJECT_VERSION}-windows-x64-setup.exe)
set(nsi ${CMAKE_CURRENT_LIST_DIR}/velkor.nsi)
add_custom_command(OUTPUT ${setup_file}
    COMMAND ${VELKOR_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${zip_dir}
            -DICON=${VELKOR_ROOT}/res/velkor.ico -DOUTFILE=${setup_file} ${nsi_page} ${nsi}
    DEPENDS ${zip_file} ${nsi} ${VELKOR_ROOT}/res/velkor.ico
    COMMENT "Building velkor-${PROJECT_VERSION}-windows-x64-setup.exe"
    VERBATIM)
add_custom_target(velkor_installer ALL DEPENDS ${setup_file})
