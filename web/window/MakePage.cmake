# cmake -DOUTPUT=velkor.html -DMODULE=velkor-window.js -DPARTS=folder -P MakePage.cmake
# The page with its styles and the module (WebAssembly inside) inlined; at
# most 4 MB.
file(READ ${PARTS}/page.html html)
file(READ ${PARTS}/page.css css)
file(READ ${MODULE} module)
string(FIND "${module}" "</script" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "the module holds </script, which would end its element")
endif()
string(REPLACE "/*STYLES*/" "${css}" html "${html}")
string(REPLACE "{{{ SCRIPT }}}" "<script>${module}</script>" html "${html}")
file(WRITE ${OUTPUT}.new "${html}")
file(SIZE ${OUTPUT}.new size)
if(size GREATER 4194304)
    message(FATAL_ERROR "velkor.html is ${size} bytes, more than 4 MB")
endif()
file(RENAME ${OUTPUT}.new ${OUTPUT})
