// Writes the starting corpus of fuzz_version_info into a folder: a valid
// version block as section contents, and whole ELF files of both classes.
#include "ElfImage.h"
#include "version/VersionBlock.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: velkor_version_info_seeds DIR\n";
        return 2;
    }
    versionblock::VersionValues values;
    values.anFileVersion[0] = 1;
    values.anFileVersion[3] = 1;
    values.dwFileFlags = 0x2B;
    values.strings = {{"CompanyName", "Velkor Project"}, {"FileDescription", "Velkor"},
                      {"FileVersion", "1.0.0.1"},        {"LegalCopyright", "\xC2\xA9 Velkor"},
                      {"ProductName", "Velkor"},         {"Comments", "Seed"},
                      {"PrivateBuild", "private"},       {"SpecialBuild", "special"}};
    const std::vector<std::uint8_t> abBlock = versionblock::BuildVersionBlock(values);

    auto write =
        [&](const std::string& strName, std::uint8_t bMode, const std::vector<std::uint8_t>& ab)
    {
        std::ofstream out(std::string(argv[1]) + "/" + strName, std::ios::binary);
        out.put(static_cast<char>(bMode));
        out.write(reinterpret_cast<const char*>(ab.data()),
                  static_cast<std::streamsize>(ab.size()));
        return static_cast<bool>(out);
    };
    elfimage::Options options32;
    options32.b64 = false;
    options32.bLittle = false;
    const bool bOk = write("section", 0, abBlock) &&
                     write("elf64", 1, elfimage::MakeElf(abBlock).abBytes) &&
                     write("elf32be", 1, elfimage::MakeElf(abBlock, options32).abBytes);
    if (!bOk)
        std::cerr << "velkor_version_info_seeds: cannot write to " << argv[1] << "\n";
    return bOk ? 0 : 1;
}
