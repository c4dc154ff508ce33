# Builds the Debian package into a temporary folder (or takes the one DEB
# names), unpacks it and checks that it holds the programs, their manual pages,
# the desktop entry, the project-file type, the metainfo and the icons, that it
# names its runtime dependencies, and that lintian and appstreamcli find nothing
# wrong with it. A tool it needs that is missing fails the test.
# cmake -DCPACK=... -DCONFIG=CPackConfig.cmake -DWORK=dir -DDESKTOP=velkor.desktop
#       -DICON_SIZES=16,32 [-DDEB=velkor.deb] -P PackageTest.cmake
set(missing "")
foreach(tool IN ITEMS dpkg-deb desktop-file-validate update-mime-database groff gzip appstreamcli
                      lintian)
    string(TOUPPER "${tool}" var)
    string(REPLACE "-" "_" var "${var}")
    find_program(${var} ${tool})
    if(NOT ${var})
        string(APPEND missing " ${tool}")
    endif()
endforeach()
if(NOT DEB AND (NOT CPACK OR NOT EXISTS "${CPACK}"))
    string(APPEND missing " cpack")
endif()
if(missing)
    message(FATAL_ERROR "the package cannot be checked without:${missing} (Debian packages "
                        "dpkg-dev, desktop-file-utils, shared-mime-info, groff-base, gzip, "
                        "appstream, lintian; ./test installs them)")
endif()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed (${rc}):\n${out}\n${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

set(failures "")
macro(fail text)
    string(APPEND failures "  ${text}\n")
endmacro()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(DEB)
    set(debs "${DEB}")
else()
    run("${CPACK}" -G DEB --config "${CONFIG}" -B "${WORK}/out")
    file(GLOB debs "${WORK}/out/*.deb")
endif()
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${WORK}/out, found: ${debs}")
endif()
run("${DPKG_DEB}" -x "${debs}" "${WORK}/root")
run("${DPKG_DEB}" -f "${debs}" Package Depends Maintainer Homepage)
set(control "${run_output}")
message("${control}")

set(root "${WORK}/root/usr")
foreach(f IN ITEMS bin/velkor bin/velkor-report share/applications/velkor.desktop
                   share/mime/packages/velkor.xml share/metainfo/dev.velkor.Velkor.metainfo.xml
                   share/icons/hicolor/scalable/apps/velkor.svg
                   share/man/man1/velkor.1.gz share/man/man1/velkor-report.1.gz
                   share/doc/velkor/copyright share/doc/velkor/changelog.gz
                   share/velkor/velkor-analysis.html share/applications/velkor-analysis.desktop)
    if(NOT EXISTS "${root}/${f}")
        fail("${f} missing")
    endif()
endforeach()
if(NOT ("${control}" MATCHES "Package: velkor"))
    fail("package name")
endif()
if(NOT ("${control}" MATCHES "libqt6widgets6"))
    fail("Depends names libqt6widgets6")
endif()
if(NOT ("${control}" MATCHES "libhpdf"))
    fail("Depends names libharu (libhpdf), which draws the PDF report")
endif()
if(NOT ("${control}" MATCHES "fonts-liberation2"))
    fail("Depends names fonts-liberation2")
endif()
if(NOT ("${control}" MATCHES "Maintainer: [^\n]+ <[^@\n]+@[^\n]+\\.[a-z]+>") OR "${control}" MATCHES "localhost")
    fail("a Maintainer with a real address")
endif()
if(NOT ("${control}" MATCHES "Homepage: https://"))
    fail("a Homepage")
endif()
# The description: the synopsis once, then prose without list separators
# (lintian checks the line lengths).
run("${DPKG_DEB}" -f "${debs}" Description)
string(TOLOWER "${run_output}" description)
string(REGEX MATCHALL "software project risk assessment" synopses "${description}")
list(LENGTH synopses count)
if(NOT count EQUAL 1 OR description MATCHES "[;\\]")
    fail("the description: ${run_output}")
endif()

# Nothing but the programs and their desktop files; no test programs.
file(GLOB_RECURSE files RELATIVE "${root}" "${root}/*")
foreach(f IN LISTS files)
    if(NOT (f MATCHES "^(bin/velkor|bin/velkor-report|share/.*)$"))
        fail("unexpected file ${f}")
    endif()
    if(f MATCHES "test")
        fail("test file ${f}")
    endif()
endforeach()

# Each icon is a PNG of its size (width and height are in the IHDR chunk).
string(REPLACE "," ";" sizes "${ICON_SIZES}")
foreach(size IN LISTS sizes)
    set(png "${root}/share/icons/hicolor/${size}x${size}/apps/velkor.png")
    if(NOT EXISTS "${png}")
        string(APPEND failures "  icon ${size}x${size} missing\n")
        continue()
    endif()
    file(READ "${png}" header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 magic)
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT (magic STREQUAL "89504e470d0a1a0a"))
        fail("icon ${size} is no PNG")
    endif()
    if(NOT (width EQUAL ${size} AND height EQUAL ${size}))
        fail("icon ${size} is ${width}x${height}")
    endif()
endforeach()

# The installed entry is the repository's, and it validates.
file(READ "${root}/share/applications/velkor.desktop" entry)
file(READ "${DESKTOP}" source_entry)
if(NOT entry STREQUAL source_entry)
    fail("the installed desktop entry differs from ${DESKTOP}")
endif()
if(NOT (entry MATCHES "\nExec=velkor %f\n"))
    fail("Exec=velkor %f")
endif()
if(NOT (entry MATCHES "MimeType=application/x-velkor-project;"))
    fail("MimeType of the entry")
endif()
file(READ "${root}/share/mime/packages/velkor.xml" mime)
if(NOT (mime MATCHES "type=\"application/x-velkor-project\""))
    fail("mime type name")
endif()
if(NOT (mime MATCHES "pattern=\"\\*\\.vlk\""))
    fail("*.vlk glob")
endif()
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${root}/share/applications/velkor-analysis.desktop"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    fail("desktop-file-validate velkor-analysis.desktop: ${out}${err}")
endif()
file(STRINGS "${root}/share/applications/velkor-analysis.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=xdg-open /usr/share/velkor/velkor-analysis.html")
    fail("the analysis entry opens ${exec}")
endif()
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${root}/share/applications/velkor.desktop"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT (rc EQUAL 0))
    fail("desktop-file-validate: ${out}${err}")
endif()

# The file type is valid shared-mime-info and claims *.vlk.
run("${UPDATE_MIME_DATABASE}" "${root}/share/mime")
file(READ "${root}/share/mime/globs2" globs)
if(NOT globs MATCHES "application/x-velkor-project:\\*\\.vlk")
    fail("the mime database has no *.vlk glob")
endif()

# The scalable icon is an SVG drawing of a square.
file(READ "${root}/share/icons/hicolor/scalable/apps/velkor.svg" svg)
if(NOT (svg MATCHES "<svg[^>]* viewBox=\"0 0 ([0-9]+) ([0-9]+)\"" AND CMAKE_MATCH_1 EQUAL CMAKE_MATCH_2))
    fail("the scalable icon is no square SVG")
endif()

# The manual pages format without a warning, and say what they must.
foreach(page IN ITEMS velkor velkor-report)
    set(gz "${root}/share/man/man1/${page}.1.gz")
    if(NOT EXISTS "${gz}")
        continue() # reported missing above
    endif()
    run("${GZIP}" -dc "${gz}")
    set(text "${run_output}")
    foreach(section IN ITEMS NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES)
        if(NOT text MATCHES "\n\\.SH \"?${section}\"?\n")
            fail("${page}.1 has no ${section} section")
        endif()
    endforeach()
    file(WRITE "${WORK}/${page}.1" "${text}")
    execute_process(COMMAND "${GROFF}" -man -ww -z "${WORK}/${page}.1"
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR out OR err)
        fail("groff warns about ${page}.1: ${out}${err}")
    endif()
endforeach()

# The metainfo validates (without the network: its screenshots are links).
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net
                        "${root}/share/metainfo/dev.velkor.Velkor.metainfo.xml"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    fail("appstreamcli validate: ${out}${err}")
endif()

# lintian: no error and no warning (its informational tags are left to it).
execute_process(COMMAND "${LINTIAN}" --no-cfg --display-level ">=warning" "${debs}"
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("lintian:\n${out}${err}")
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]+" tags "${out}")
foreach(tag IN LISTS tags)
    string(STRIP "${tag}" tag)
    fail("lintian: ${tag}")
endforeach()

# The unpacked programs run and name their version, the window without a display.
foreach(program IN ITEMS velkor-report velkor)
    execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY "${root}/bin/${program}" --version
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out)
    if(NOT (rc EQUAL 0 AND out MATCHES "^${program} [0-9.]+\n$"))
        fail("bin/${program} --version: ${rc} ${out}")
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
if(failures)
    message(FATAL_ERROR "the package is wrong:\n${failures}")
endif()
message("package ${debs} is complete")
