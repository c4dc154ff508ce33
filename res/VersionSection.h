// Where the program file carries its version information.
#pragma once

// The ELF section that holds the version block (VS_VERSIONINFO layout). The
// build places it in every executable that calls velkor_embed_version_info();
// the version reader looks for it by this name.
#define VELKOR_VERSION_SECTION ".velkor.version"
