#include "model/Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
std::string PadLeft(std::string str, int nWidth)
{
    if (nWidth > 0 && str.size() < static_cast<std::size_t>(nWidth))
        str.insert(0, static_cast<std::size_t>(nWidth) - str.size(), ' ');
    return str;
}

std::string PadRight(std::string str, int nWidth)
{
    if (nWidth > 0 && str.size() < static_cast<std::size_t>(nWidth))
        str.append(static_cast<std::size_t>(nWidth) - str.size(), ' ');
    return str;
}

// Fixed-point text of a finite value, without padding.
std::string FixedDigits(double dValue, int nPrecision)
{
    // 17 significant digits: "d.dddddddddddddddde[+-]x" (correctly rounded).
    char szSci[40];
    std::snprintf(szSci, sizeof szSci, "%.16e", std::fabs(dValue));
    std::string strDigits;
    strDigits.push_back(szSci[0]);
    strDigits.append(szSci + 2, 16);
    const int nExponent = std::atoi(szSci + 19);
    const bool bNegative = std::signbit(dValue);

    // Digits kept: those down to the last decimal shown.
    const int nKeep = nExponent + 1 + nPrecision;
    std::string strKept;            // the kept digits, most significant first
    int nIntDigits = nExponent + 1; // digits before the point in strKept
    if (nKeep <= 0)
    {
        // Everything is cut; the first cut digit is a zero unless nKeep == 0.
        const bool bUp = nKeep == 0 && strDigits[0] >= '5';
        strKept.assign(static_cast<std::size_t>(nPrecision + 1), '0');
        nIntDigits = 1;
        if (bUp)
            strKept.back() = '1';
    }
    else
    {
        if (nKeep < 17)
        {
            strKept = strDigits.substr(0, static_cast<std::size_t>(nKeep));
            if (strDigits[static_cast<std::size_t>(nKeep)] >= '5')
            {
                int i = nKeep - 1;
                while (i >= 0 && strKept[static_cast<std::size_t>(i)] == '9')
                    strKept[static_cast<std::size_t>(i--)] = '0';
                if (i >= 0)
                    ++strKept[static_cast<std::size_t>(i)];
                else
                {
                    strKept.insert(0, 1, '1');
                    ++nIntDigits;
                }
            }
        }
        else
        {
            strKept = strDigits + std::string(static_cast<std::size_t>(nKeep - 17), '0');
        }
        if (nIntDigits <= 0)
        {
            // Value below 1: pad with leading zeros so one digit stands before the point.
            strKept.insert(0, static_cast<std::size_t>(1 - nIntDigits), '0');
            nIntDigits = 1;
        }
    }

    std::string strOut;
    if (bNegative)
        strOut.push_back('-');
    strOut.append(strKept, 0, static_cast<std::size_t>(nIntDigits));
    if (nPrecision > 0)
    {
        strOut.push_back('.');
        strOut.append(strKept, static_cast<std::size_t>(nIntDigits), std::string::npos);
    }
    return strOut;
}
} // namespace

std::string FormatFixed(double dValue, int nPrecision, int nWidth)
{
    if (nPrecision < 0)
        nPrecision = 6;
    if (nPrecision > 40)
        nPrecision = 40;
    std::string str;
    if (std::isnan(dValue))
        str = "nan";
    else if (std::isinf(dValue))
        str = dValue < 0 ? "-inf" : "inf";
    else
        str = FixedDigits(dValue, nPrecision);
    return PadLeft(std::move(str), nWidth);
}

std::string FormatNumbers(std::string_view strFormat, std::initializer_list<double> values)
{
    std::string strOut;
    auto itValue = values.begin();
    for (std::size_t i = 0; i < strFormat.size(); ++i)
    {
        const char c = strFormat[i];
        if (c != '%')
        {
            strOut.push_back(c);
            continue;
        }
        std::size_t j = i + 1;
        if (j < strFormat.size() && strFormat[j] == '%')
        {
            strOut.push_back('%');
            i = j;
            continue;
        }
        bool bLeft = false;
        if (j < strFormat.size() && strFormat[j] == '-')
        {
            bLeft = true;
            ++j;
        }
        int nWidth = 0;
        while (j < strFormat.size() && strFormat[j] >= '0' && strFormat[j] <= '9' && nWidth < 1000)
            nWidth = nWidth * 10 + (strFormat[j++] - '0');
        int nPrecision = 6;
        if (j < strFormat.size() && strFormat[j] == '.')
        {
            ++j;
            nPrecision = 0;
            while (j < strFormat.size() && strFormat[j] >= '0' && strFormat[j] <= '9' &&
                   nPrecision < 1000)
                nPrecision = nPrecision * 10 + (strFormat[j++] - '0');
        }
        if (j < strFormat.size() && strFormat[j] == 'f')
        {
            const double dValue = itValue != values.end() ? *itValue++ : 0.0;
            std::string strNumber = FormatFixed(dValue, nPrecision);
            strOut += bLeft ? PadRight(std::move(strNumber), nWidth)
                            : PadLeft(std::move(strNumber), nWidth);
            i = j;
        }
        else
        {
            // Not a conversion this helper knows: keep the text as it stands.
            strOut.append(strFormat.substr(i, j - i));
            i = j - 1;
        }
    }
    return strOut;
}
