# Embeds report.htm in velkor_res as a byte array (see ReportTemplate.h).
#
# Included from res/CMakeLists.txt it adds the build rule; the rule runs this
# same file as a script (cmake -P) to write the generated source.
if(CMAKE_SCRIPT_MODE_FILE)
    file(READ ${VELKOR_REPORT_INPUT} strHex HEX)
    string(LENGTH "${strHex}" nHexLength)
    math(EXPR nSize "${nHexLength} / 2")
    # 0x.., one line per 32 bytes.
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," strBytes "${strHex}")
    string(REGEX REPLACE "((0x..,){32})" "\\1\n    " strBytes "${strBytes}")
    file(WRITE ${VELKOR_REPORT_OUTPUT}.new
        "// Generated from res/report.htm at build time. Do not edit.\n"
        "#include \"res/ReportTemplate.h\"\n\n"
        "namespace\n{\n"
        "const unsigned char s_abReportTemplate[${nSize} + 1] = {\n    ${strBytes}0x00};\n"
        "} // namespace\n\n"
        "std::string_view GetReportTemplate()\n{\n"
        "    return {reinterpret_cast<const char*>(s_abReportTemplate), ${nSize}};\n}\n")
    # Keep the old file (and its time stamp) when nothing changed.
    file(COPY_FILE ${VELKOR_REPORT_OUTPUT}.new ${VELKOR_REPORT_OUTPUT} ONLY_IF_DIFFERENT)
    file(REMOVE ${VELKOR_REPORT_OUTPUT}.new)
    return()
endif()

set(VELKOR_REPORT_CPP ${CMAKE_CURRENT_BINARY_DIR}/ReportTemplate.cpp)
add_custom_command(
    OUTPUT ${VELKOR_REPORT_CPP}
    COMMAND ${CMAKE_COMMAND} -DVELKOR_REPORT_INPUT=${CMAKE_CURRENT_SOURCE_DIR}/report.htm
            -DVELKOR_REPORT_OUTPUT=${VELKOR_REPORT_CPP} -P ${CMAKE_CURRENT_LIST_FILE}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/report.htm ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Embedding the HTML report template"
    VERBATIM)
target_sources(velkor_res PRIVATE ${VELKOR_REPORT_CPP})
