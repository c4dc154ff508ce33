// Reading version information in tests: a loaded copy and typed queries.
#pragma once

#include "version/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif
#include <vector>

// One file's version information, read the way the about box reads it.
class CVersionData
{
public:
    bool Load(const std::string& strPath)
    {
        std::uint32_t dwHandle = 1;
        m_dwSize = GetFileVersionInfoSizeA(strPath.c_str(), &dwHandle);
        EXPECT_EQ(dwHandle, 0u);
        if (m_dwSize == 0)
            return false;
        m_adwBuffer.assign((m_dwSize + 3) / 4, 0xA5A5A5A5u);
        return GetFileVersionInfoA(strPath.c_str(), 0, m_dwSize, m_adwBuffer.data()) != 0;
    }

    const void* Data() const { return m_adwBuffer.data(); }
    std::uint32_t Size() const { return m_dwSize; }

    // True when the value [p, p + n) lies inside the caller's copy.
    bool Contains(const void* p, std::size_t n) const
    {
        const auto* pb = static_cast<const std::uint8_t*>(p);
        const auto* pbBase = reinterpret_cast<const std::uint8_t*>(m_adwBuffer.data());
        return pb >= pbBase && n <= m_dwSize && pb - pbBase <= std::ptrdiff_t(m_dwSize - n);
    }

    // A text value; checks that it is terminated inside the copy and that the
    // length counts its bytes with the terminator.
    std::optional<std::string> Text(const std::string& strPath) const
    {
        void* p = nullptr;
        unsigned uLen = 0;
        if (!VerQueryValueA(Data(), strPath.c_str(), &p, &uLen))
            return std::nullopt;
        EXPECT_TRUE(Contains(p, uLen)) << strPath;
        if (!Contains(p, uLen) || uLen == 0)
            return std::nullopt;
        const char* psz = static_cast<const char*>(p);
        EXPECT_EQ(std::strlen(psz) + 1, uLen) << strPath;
        return std::string(psz);
    }

    std::optional<VS_FIXEDFILEINFO> Fixed() const
    {
        void* p = nullptr;
        unsigned uLen = 0;
        if (!VerQueryValueA(Data(), "\\", &p, &uLen))
            return std::nullopt;
        EXPECT_TRUE(Contains(p, uLen));
        if (uLen < sizeof(VS_FIXEDFILEINFO))
            return std::nullopt;
        VS_FIXEDFILEINFO info;
        std::memcpy(&info, p, sizeof info);
        return info;
    }

    // The first translation entry: language in the low word, code page high.
    std::optional<std::uint32_t> Translation() const
    {
        void* p = nullptr;
        unsigned uLen = 0;
        if (!VerQueryValueA(Data(), "\\VarFileInfo\\Translation", &p, &uLen))
            return std::nullopt;
        EXPECT_TRUE(Contains(p, uLen));
        if (uLen < 4)
            return std::nullopt;
        std::uint16_t aw[2];
        std::memcpy(aw, p, sizeof aw);
        return aw[0] | (std::uint32_t{aw[1]} << 16);
    }

private:
    std::vector<std::uint32_t> m_adwBuffer; // 4-byte aligned, as the reader needs
    std::uint32_t m_dwSize = 0;
};

// A file in the test folder, unique to the running test and process.
inline std::string TestFilePath(const std::string& strSuffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "velkor_" + info->test_suite_name() + "_" + info->name() + "_" +
           std::to_string(
#ifdef _WIN32
               ::_getpid()
#else
               ::getpid()
#endif
                   ) +
           strSuffix;
}

// A file written for one test and removed after it.
class CTestFile
{
public:
    explicit CTestFile(const std::vector<std::uint8_t>& abBytes,
                       const std::string& strSuffix = ".bin")
        : m_strPath(TestFilePath(strSuffix))
    {
        std::ofstream out(m_strPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(abBytes.data()),
                  static_cast<std::streamsize>(abBytes.size()));
        out.close();
        EXPECT_TRUE(out) << m_strPath;
    }
    ~CTestFile() { std::remove(m_strPath.c_str()); }
    CTestFile(const CTestFile&) = delete;
    CTestFile& operator=(const CTestFile&) = delete;

    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

inline const std::string kStrings = "\\StringFileInfo\\040904B0\\";
