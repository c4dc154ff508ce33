#include "report/PdfReport.h"

#include "report/Chart.h"
#include "report/Text.h"

#include <hpdf.h>

#include <ctime>
#include <filesystem>
#include <memory>

namespace
{
// The page is drawn in points: A4 is 595 x 842, with 40-point margins. y
// grows downwards here, as on the screen; Y() turns it into PDF's upwards y.
constexpr double PAGE_WIDTH = 595, PAGE_HEIGHT = 842, MARGIN = 40;
constexpr const char* REGULAR_FONT = "LiberationSans-Regular.ttf";
constexpr const char* BOLD_FONT = "LiberationSans-Bold.ttf";

double Y(double y)
{
    return PAGE_HEIGHT - y;
}

void OnError(HPDF_STATUS nError, HPDF_STATUS nDetail, void* pData)
{
    auto* pnFirst = static_cast<HPDF_STATUS*>(pData);
    if (*pnFirst == 0)
        *pnFirst = nError != 0 ? nError : nDetail;
}

std::string FindFont(const std::vector<std::string>& folders, const char* pszName)
{
    std::string strTried;
    for (const std::string& strFolder : folders)
    {
        const std::filesystem::path path = std::filesystem::path(strFolder) / pszName;
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path.string();
        strTried += (strTried.empty() ? "" : ", ") + strFolder;
    }
    throw CPdfError(std::string("the PDF needs the font ") + pszName +
                    ", which is in none of: " + strTried +
                    " (install the package fonts-liberation2, or put the font in a fonts folder "
                    "beside the program)");
}

// The page and its two fonts, drawing in points from the top left.
class CPage
{
public:
    CPage(HPDF_Doc pdf, HPDF_Page page, HPDF_Font regular, HPDF_Font bold)
        : m_pdf(pdf), m_page(page), m_regular(regular), m_bold(bold)
    {
    }

    double Width(const std::string& strText, double dPoints, bool bBold)
    {
        HPDF_Page_SetFontAndSize(m_page, bBold ? m_bold : m_regular,
                                 static_cast<HPDF_REAL>(dPoints));
        return HPDF_Page_TextWidth(m_page, strText.c_str());
    }

    // One line of text at x with its baseline at y (from the top).
    void Text(double x, double y, const std::string& strText, double dPoints, bool bBold)
    {
        HPDF_Page_BeginText(m_page);
        HPDF_Page_SetFontAndSize(m_page, bBold ? m_bold : m_regular,
                                 static_cast<HPDF_REAL>(dPoints));
        HPDF_Page_TextOut(m_page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(Y(y)),
                          strText.c_str());
        HPDF_Page_EndText(m_page);
    }

    // A label and its value, the value right-aligned at xRight.
    void Row(double x, double xRight, double y, const std::string& strLabel,
             const std::string& strValue)
    {
        Text(x, y, strLabel, 10, false);
        Text(xRight - Width(strValue, 10, true), y, strValue, 10, true);
    }

    void Heading(double x, double y, const std::string& strText, bool bRule)
    {
        Text(x, y, strText, 12, true);
        if (!bRule)
            return;
        HPDF_Page_SetRGBStroke(m_page, 0x88 / 255.0f, 0x88 / 255.0f, 0x88 / 255.0f);
        HPDF_Page_SetLineWidth(m_page, 0.5);
        HPDF_Page_MoveTo(m_page, MARGIN, static_cast<HPDF_REAL>(Y(y + 4)));
        HPDF_Page_LineTo(m_page, PAGE_WIDTH - MARGIN, static_cast<HPDF_REAL>(Y(y + 4)));
        HPDF_Page_Stroke(m_page);
    }

    // The chart's shapes, its user units scaled by dScale, its top left at
    // (x, y), below dTop of its own units (its title and total are on the
    // page already), clipped to dWidth x dHeight points.
    void Chart(const SChart& chart, double x, double y, double dScale, double dTop, double dHeight);

private:
    void Colour(const char* pszColour, bool bFill);
    void ChartText(const SChartShape& shape, double dChartFont);

    HPDF_Doc m_pdf;
    HPDF_Page m_page;
    HPDF_Font m_regular;
    HPDF_Font m_bold;
};

void CPage::Colour(const char* pszColour, bool bFill)
{
    const unsigned long nRgb = std::strtoul(pszColour + 1, nullptr, 16);
    const auto Part = [&](int nShift)
    { return static_cast<HPDF_REAL>((nRgb >> nShift) & 0xFF) / 255.0f; };
    if (bFill)
        HPDF_Page_SetRGBFill(m_page, Part(16), Part(8), Part(0));
    else
        HPDF_Page_SetRGBStroke(m_page, Part(16), Part(8), Part(0));
}

void CPage::ChartText(const SChartShape& shape, double dChartFont)
{
    const double dPoints = shape.dFontSize != 0 ? shape.dFontSize : dChartFont;
    const double dNormal = Width(shape.strText, dPoints, shape.bBold);
    const double dBold = shape.strBold.empty() ? 0 : Width(shape.strBold, dPoints, true);
    const double dNatural = dNormal + dBold;
    // Squeezed like the SVG's textLength, never wider than asked.
    const double dSqueeze =
        shape.dFitWidth != 0 && dNatural > shape.dFitWidth ? shape.dFitWidth / dNatural : 1.0;
    const std::string_view strAnchor = shape.pszAnchor ? shape.pszAnchor : "start";
    double x = shape.at[0];
    if (strAnchor == "end")
        x -= dNatural * dSqueeze;
    else if (strAnchor == "middle")
        x -= dNatural * dSqueeze / 2;
    HPDF_Page_BeginText(m_page);
    // The page's y is flipped for the chart: flip the letters back.
    HPDF_Page_SetTextMatrix(m_page, static_cast<HPDF_REAL>(dSqueeze), 0, 0, -1,
                            static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(shape.at[1]));
    HPDF_Page_SetFontAndSize(m_page, shape.bBold ? m_bold : m_regular,
                             static_cast<HPDF_REAL>(dPoints));
    HPDF_Page_ShowText(m_page, shape.strText.c_str());
    if (!shape.strBold.empty())
    {
        HPDF_Page_SetFontAndSize(m_page, m_bold, static_cast<HPDF_REAL>(dPoints));
        HPDF_Page_ShowText(m_page, shape.strBold.c_str());
    }
    HPDF_Page_EndText(m_page);
}

void CPage::Chart(const SChart& chart, double x, double y, double dScale, double dTop,
                  double dHeight)
{
    HPDF_Page_GSave(m_page);
    HPDF_Page_Rectangle(m_page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(Y(y + dHeight)),
                        static_cast<HPDF_REAL>(chart.dWidth * dScale),
                        static_cast<HPDF_REAL>(dHeight));
    HPDF_Page_Clip(m_page);
    HPDF_Page_EndPath(m_page);
    // From here on, coordinates are the chart's own.
    HPDF_Page_Concat(m_page, static_cast<HPDF_REAL>(dScale), 0, 0, static_cast<HPDF_REAL>(-dScale),
                     static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(Y(y - dTop * dScale)));
    for (const SChartShape& shape : chart.shapes)
    {
        // The title and total above the cut are left out, not only hidden,
        // so that the page's text holds them once.
        if (shape.eKind == SChartShape::text && shape.at[1] < dTop)
            continue;
        HPDF_Page_GSave(m_page);
        if (shape.eKind == SChartShape::text)
        {
            Colour(shape.pszFill ? shape.pszFill : chart.pszInk, true);
            ChartText(shape, chart.dFontSize);
            HPDF_Page_GRestore(m_page);
            continue;
        }
        const bool bFill = shape.pszFill != nullptr && std::string_view(shape.pszFill) != "none";
        if (bFill)
            Colour(shape.pszFill, true);
        if (shape.dFillOpacity != 1.0)
        {
            HPDF_ExtGState state = HPDF_CreateExtGState(m_pdf);
            HPDF_ExtGState_SetAlphaFill(state, static_cast<HPDF_REAL>(shape.dFillOpacity));
            HPDF_Page_SetExtGState(m_page, state);
        }
        if (shape.pszStroke)
        {
            Colour(shape.pszStroke, false);
            HPDF_Page_SetLineWidth(m_page, static_cast<HPDF_REAL>(shape.dStrokeWidth));
            if (shape.bDashed)
            {
                const HPDF_UINT16 anDash[] = {3, 3};
                HPDF_Page_SetDash(m_page, anDash, 2, 0);
            }
            if (shape.bRoundJoin)
                HPDF_Page_SetLineJoin(m_page, HPDF_ROUND_JOIN);
        }
        const auto At = [&](std::size_t n) { return static_cast<HPDF_REAL>(shape.at[n]); };
        switch (shape.eKind)
        {
        case SChartShape::rect:
            HPDF_Page_Rectangle(m_page, At(0), At(1), At(2), At(3));
            break;
        case SChartShape::circle:
            HPDF_Page_Circle(m_page, At(0), At(1), At(2));
            break;
        default:
            HPDF_Page_MoveTo(m_page, At(0), At(1));
            for (std::size_t n = 2; n + 1 < shape.at.size(); n += 2)
                HPDF_Page_LineTo(m_page, At(n), At(n + 1));
            if (shape.eKind == SChartShape::polygon)
                HPDF_Page_ClosePath(m_page);
        }
        if (bFill && shape.pszStroke)
            HPDF_Page_FillStroke(m_page);
        else if (bFill)
            HPDF_Page_Fill(m_page);
        else if (shape.pszStroke)
            HPDF_Page_Stroke(m_page);
        else
            HPDF_Page_EndPath(m_page);
        HPDF_Page_GRestore(m_page);
    }
    HPDF_Page_GRestore(m_page);
}

// strText cut into lines no wider than dWidth, between characters.
std::vector<std::string> WrapAnywhere(CPage& page, const std::string& strText, double dPoints,
                                      double dWidth)
{
    std::vector<std::string> lines(1);
    for (std::size_t nPos = 0; nPos < strText.size();)
    {
        const std::size_t nStart = nPos;
        DecodeUtf8(strText, nPos);
        const std::string strCharacter = strText.substr(nStart, nPos - nStart);
        if (!lines.back().empty() &&
            page.Width(lines.back() + strCharacter, dPoints, true) > dWidth)
            lines.emplace_back();
        lines.back() += strCharacter;
    }
    return lines;
}
} // namespace

std::vector<std::string> PdfFontFolders(const std::string& strExecutable)
{
    std::vector<std::string> folders;
    if (!strExecutable.empty())
    {
        const std::filesystem::path folder = std::filesystem::path(strExecutable).parent_path();
        folders.push_back((folder / "fonts").string());
        folders.push_back(folder.string());
    }
    folders.push_back("/usr/share/fonts/truetype/liberation2");
    return folders;
}

std::string FormatReportTime(long long nSecondsSinceEpoch)
{
    const std::time_t t = static_cast<std::time_t>(nSecondsSinceEpoch);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    char sz[32];
    std::strftime(sz, sizeof sz, "%Y-%m-%d %H:%M", &tm);
    return sz;
}

std::string MakePdfReport(const SSnapshot& snapshot, const SPdfOptions& options)
{
    const std::string strRegular = FindFont(options.fontFolders, REGULAR_FONT);
    const std::string strBold = FindFont(options.fontFolders, BOLD_FONT);

    HPDF_STATUS nError = 0;
    const std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, void (*)(HPDF_Doc)> pdf(
        HPDF_New(&OnError, &nError), &HPDF_Free);
    if (!pdf)
        throw CPdfError("the PDF library cannot start (out of memory)");
    HPDF_Doc doc = pdf.get();
    // The library's name as Debian's build of it gives it, on every platform
    // (built from its source tarball it calls itself 2.3.0RC2); before the
    // UTF-8 encoder, which would write it in UTF-16.
    HPDF_SetInfoAttr(doc, HPDF_INFO_PRODUCER, "Haru Free PDF Library 2.3.0");
    HPDF_SetCompressionMode(doc, HPDF_COMP_ALL);
    HPDF_UseUTFEncodings(doc);
    HPDF_SetCurrentEncoder(doc, "UTF-8");
    const char* pszRegular = HPDF_LoadTTFontFromFile(doc, strRegular.c_str(), HPDF_TRUE);
    const char* pszBold = HPDF_LoadTTFontFromFile(doc, strBold.c_str(), HPDF_TRUE);
    if (nError != 0 || !pszRegular || !pszBold)
        throw CPdfError("the fonts " + strRegular + " and " + strBold +
                        " cannot be read as TrueType fonts");
    HPDF_Font regular = HPDF_GetFont(doc, pszRegular, "UTF-8");
    HPDF_Font bold = HPDF_GetFont(doc, pszBold, "UTF-8");
    const std::string strTitle = ValidUtf8(snapshot.strTitle);
    HPDF_SetInfoAttr(doc, HPDF_INFO_TITLE, ("Velkor Project Report: " + strTitle).c_str());
    HPDF_SetInfoAttr(doc, HPDF_INFO_CREATOR, "velkor-report");

    HPDF_Page pdfPage = HPDF_AddPage(doc);
    HPDF_Page_SetWidth(pdfPage, PAGE_WIDTH); // A4 in whole points
    HPDF_Page_SetHeight(pdfPage, PAGE_HEIGHT);
    HPDF_Page_SetRGBFill(pdfPage, 0x22 / 255.0f, 0x22 / 255.0f, 0x22 / 255.0f);
    CPage page(doc, pdfPage, regular, bold);
    const auto Metric = [&](int k) { return PercentText(snapshot.Metric(k)); };

    const double xLeft = MARGIN, xMid = PAGE_WIDTH / 2 + 10, xRight = PAGE_WIDTH - MARGIN;
    const double xLeftValue = PAGE_WIDTH / 2 - 20;
    page.Text(xLeft, 52, "Velkor Project Report", 10, false);
    std::string strDates = "Made " + options.strMade;
    if (!options.strModified.empty())
        strDates += " \xC2\xB7 project file of " + options.strModified;
    page.Text(xRight - page.Width(strDates, 9, false), 52, strDates, 9, false);
    // A long title gets smaller letters, down to the tables' size, then
    // wraps onto further lines (in smaller letters still beyond two) rather
    // than leaving the page.
    const std::string strHeading = "Project " + strTitle;
    double dTitlePoints = 20;
    for (; dTitlePoints > 10; dTitlePoints -= 1)
        if (page.Width(strHeading, dTitlePoints, true) <= xRight - xLeft)
            break;
    std::vector<std::string> lines = WrapAnywhere(page, strHeading, dTitlePoints, xRight - xLeft);
    if (lines.size() > 2)
        lines = WrapAnywhere(page, strHeading, dTitlePoints = 8, xRight - xLeft);
    for (std::size_t n = 0; n < lines.size(); ++n)
        page.Text(xLeft, lines.size() == 1 ? 78 : 72 + 1.15 * dTitlePoints * double(n), lines[n],
                  dTitlePoints, true);

    double y = 112;
    page.Heading(xLeft, y, "Summary", true);
    y += 22;
    page.Text(xLeft, y, "Total Project Probability of Success:", 12, false);
    page.Text(xLeft + 220, y, Metric(METRIC_TOTAL), 12, true);
    y += 20;
    const struct
    {
        const char* pszLabel;
        int nMetric;
        const char* pszWeight;
        double dWeight;
    } aWeighted[] = {
        {"Technical Success Probability:", METRIC_TECHNICAL,
         "Technical Weighting:", snapshot.weights.dTechnical},
        {"Schedule Success Probability:", METRIC_SCHEDULE,
         "Schedule Weighting:", snapshot.weights.dSchedule},
        {"Cost Success Probability:", METRIC_COST, "Cost Weighting:", snapshot.weights.dCost}};
    for (const auto& row : aWeighted)
    {
        page.Row(xLeft, xLeftValue, y, row.pszLabel, Metric(row.nMetric));
        page.Row(xMid, xRight, y, row.pszWeight, PercentText(row.dWeight));
        y += 15;
    }
    page.Row(xLeft, xLeftValue, y, "Process Probability:", Metric(METRIC_PROCESS));
    page.Row(xMid, xRight, y, "Product Probability:", Metric(METRIC_PRODUCT));

    y += 30;
    page.Heading(xLeft, y, "By Category", true);
    y += 20;
    for (int k = 0; k < 5; ++k)
        for (const int nColumn : {0, 1})
            page.Row(nColumn ? xMid : xLeft, nColumn ? xRight : xLeftValue, y + 15 * k,
                     MetricName(METRIC_CATEGORY_FIRST + 5 * nColumn + k) + ":",
                     Metric(METRIC_CATEGORY_FIRST + 5 * nColumn + k));
    y += 5 * 15 + 15;
    page.Heading(xLeft, y, "By Phase", true);
    page.Heading(xMid, y, "By Activity", false);
    y += 20;
    for (int i = 0; i < 6; ++i)
    {
        page.Row(xLeft, xLeftValue, y + 15 * i, MetricName(METRIC_PHASE_FIRST + i) + ":",
                 Metric(METRIC_PHASE_FIRST + i));
        page.Row(xMid, xRight, y + 15 * i, MetricName(METRIC_ACTIVITY_FIRST + i) + ":",
                 Metric(METRIC_ACTIVITY_FIRST + i));
    }
    y += 6 * 15 + 10;

    // The chart across the page's width, below its own title and total.
    SSnapshot chartSnapshot = snapshot;
    chartSnapshot.strTitle = strTitle;
    const SChart chart = MakeChart(chartSnapshot);
    const double dChartTop = 80;
    const double dScale = (xRight - xLeft) / chart.dWidth;
    page.Chart(chart, xLeft, y, dScale, dChartTop, (chart.dHeight - dChartTop) * dScale);

    if (HPDF_SaveToStream(doc) != HPDF_OK || nError != 0)
        throw CPdfError("the PDF library failed (error " + std::to_string(nError) + ")");
    std::string strBytes(HPDF_GetStreamSize(doc), '\0');
    HPDF_UINT32 nSize = static_cast<HPDF_UINT32>(strBytes.size());
    HPDF_ReadFromStream(doc, reinterpret_cast<HPDF_BYTE*>(strBytes.data()), &nSize);
    strBytes.resize(nSize);
    return strBytes;
}
