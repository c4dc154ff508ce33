# The program's version values. velkor_embed_version_info() reads this file for
# each program file it stamps; VELKOR_VERSION_TARGET names that program.

# File and product version: the project version, four parts (1.0.0.1).
set(VELKOR_VERSION_FILE "${Velkor_VERSION}")
set(VELKOR_VERSION_PRODUCT "${Velkor_VERSION}")

# One string table, language 0x0409 (English, United States), code page
# 0x04B0 (Unicode). Name, value; written in this order. LegalTrademarks is
# left out on purpose: the about box shows it as "[none]".
set(VELKOR_VERSION_STRINGS
    CompanyName      "Velkor Project"
    FileDescription  "Velkor software project risk assessment"
    FileVersion      "${Velkor_VERSION}"
    InternalName     "${VELKOR_VERSION_TARGET}"
    LegalCopyright   "Copyright © 2026 Velkor Project"
    OriginalFilename "$<TARGET_FILE_NAME:${VELKOR_VERSION_TARGET}>"
    ProductName      "Velkor"
    ProductVersion   "${Velkor_VERSION}"
    Comments         "Assesses the risk of a software project from 81 questions."
)

# Added only to builds that carry VS_FF_PRIVATEBUILD (0x08) or
# VS_FF_SPECIALBUILD (0x20).
set(VELKOR_VERSION_PRIVATE_BUILD "Private build on a developer machine")
set(VELKOR_VERSION_SPECIAL_BUILD "Special build for testing")
