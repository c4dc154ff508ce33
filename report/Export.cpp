#include "report/Export.h"

#include "model/Format.h"
#include "report/Numbers.h"

#include <nlohmann/json.hpp>

#include <bit>
#include <cmath>
#include <utility>

const char* const g_apszCategoryNames[CATEGORY_COUNT] = {
    "Organization",    "Estimation", "Monitoring",  "Development", "Tools",
    "Company Culture", "Usability",  "Correctness", "Reliability", "Personnel"};
const char* const g_apszPhaseNames[6] = {"Pre-requirements", "Requirements", "Design",
                                         "Coding",           "Testing",      "Delivery and Maintenance"};
const char* const g_apszActivityNames[6] = {"Identification", "Strategy and Planning",
                                            "Assessment",     "Mitigation and Avoidance",
                                            "Reporting",      "Prediction"};

std::string GetCategoryName(const CQuestion& question)
{
    const std::uint32_t dwCategory = question.GetFlags() & QF_CATEGORY_MASK;
    return dwCategory == 0 ? std::string() : g_apszCategoryNames[std::countr_zero(dwCategory)];
}

std::string MakeJsonExport(CRiskModel& model, const std::string& strTitle)
{
    model.ComputeAll();
    using Json = nlohmann::ordered_json;
    Json document = {{"format", "velkor-project"}, {"version", 1}, {"title", strTitle}};
    document["weights"] = {{"technical", JsonNumber(model.GetTechnicalWeight())},
                           {"cost", JsonNumber(model.GetCostWeight())},
                           {"schedule", JsonNumber(model.GetScheduleWeight())}};
    Json& answers = document["answers"] = Json::array();
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const CQuestion& question = *model.GetQuestion(i);
        answers.push_back({{"question", i},
                           {"category", GetCategoryName(question)},
                           {"text", question.GetText()},
                           {"answer", question.GetSelected()},
                           {"label", question.GetAnswerLabel(question.GetSelected())},
                           {"value", JsonNumber(question.GetValue())}});
    }
    Json& metrics = document["metrics"] = Json::array();
    for (int k = 0; k < METRIC_COUNT; ++k)
        metrics.push_back({{"index", k},
                           {"label", model.GetMetricLabel(k)},
                           {"value", JsonNumber(model.GetMetricValue(k))}});
    return DumpJson(document);
}

std::string MakeCsvExport(CRiskModel& model)
{
    model.ComputeAll();
    std::string strCsv = "index,label,value\n";
    for (int k = 0; k < METRIC_COUNT; ++k)
        strCsv += std::to_string(k) + ',' + CsvField(model.GetMetricLabel(k)) + ',' +
                  FormatShortest(model.GetMetricValue(k)) + '\n';
    return strCsv;
}

std::string EscapeXml(std::string_view strText)
{
    // Reuse the JSON library's UTF-8 check: it replaces invalid bytes.
    const std::string strValid =
        nlohmann::json(std::string(strText)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string strDecoded = nlohmann::json::parse(strValid).get<std::string>();
    // U+FFFE and U+FFFF are valid UTF-8 but no XML character.
    for (std::size_t n = 0; (n = strDecoded.find("\xEF\xBF", n)) != std::string::npos; n += 3)
        if (n + 2 < strDecoded.size() && (strDecoded[n + 2] == '\xBE' || strDecoded[n + 2] == '\xBF'))
            strDecoded[n + 2] = '\xBD';
    std::string strOut;
    for (const char c : strDecoded)
    {
        switch (c)
        {
        case '&': strOut += "&amp;"; break;
        case '<': strOut += "&lt;"; break;
        case '>': strOut += "&gt;"; break;
        case '"': strOut += "&quot;"; break;
        case '\'': strOut += "&apos;"; break;
        default:
            // Control characters other than tab and line ends are not XML.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                strOut += "\xEF\xBF\xBD";
            else
                strOut += c;
        }
    }
    return strOut;
}

namespace
{
// Chart geometry, in SVG user units (pixels at 100 %).
constexpr double CHART_WIDTH = 940;
constexpr double CHART_HEIGHT = 510;
constexpr double RADAR_X = 290, RADAR_Y = 300, RADAR_RADIUS = 165;
constexpr double BAR_LABEL_X = 740, BAR_X = 748, BAR_LENGTH = 140, BAR_HEIGHT = 16, BAR_STEP = 24;

// Colour-blind safe, and apart in greyscale: a dark blue and a light orange.
constexpr const char* BLUE = "#0072B2";
constexpr const char* ORANGE = "#E69F00";
constexpr const char* INK = "#222222";
constexpr const char* GRID = "#B0B0B0";

std::string Num(double d)
{
    return FormatFixed(d, 1);
}

std::string Percent(double dValue)
{
    return FormatNumbers("%.1f%%", {dValue * 100.0});
}

// How much of the full length a value draws: 0 to 1, nothing for NaN.
double Fraction(double dValue)
{
    if (!(dValue > 0))
        return 0;
    return dValue < 1 ? dValue : 1;
}

std::string Tooltip(const std::string& strName, double dValue)
{
    return "<title>" + EscapeXml(strName) + ": " + Percent(dValue) + "</title>";
}

void AppendBars(std::string& strSvg, const CRiskModel& model, const char* pszHeading,
                const char* const* apszNames, int nFirst, const char* pszColour, double dTop)
{
    strSvg += "<text x=\"" + Num(BAR_LABEL_X - 200) + "\" y=\"" + Num(dTop) +
              "\" font-size=\"15\" font-weight=\"bold\">" + pszHeading + "</text>\n";
    for (int i = 0; i < 6; ++i)
    {
        const double dValue = model.GetMetricValue(nFirst + i);
        const double y = dTop + 12 + i * BAR_STEP;
        const double dLength = BAR_LENGTH * Fraction(dValue);
        strSvg += "<text x=\"" + Num(BAR_LABEL_X) + "\" y=\"" + Num(y + 12.5) +
                  "\" text-anchor=\"end\">" + apszNames[i] + "</text>\n";
        strSvg += "<rect x=\"" + Num(BAR_X) + "\" y=\"" + Num(y) + "\" width=\"" + Num(BAR_LENGTH) +
                  "\" height=\"" + Num(BAR_HEIGHT) + "\" fill=\"#F0F0F0\" stroke=\"" + GRID + "\" stroke-width=\"0.5\"/>\n";
        strSvg += "<rect x=\"" + Num(BAR_X) + "\" y=\"" + Num(y) + "\" width=\"" + Num(dLength) +
                  "\" height=\"" + Num(BAR_HEIGHT) + "\" fill=\"" + pszColour + "\" stroke=\"" + INK +
                  "\" stroke-width=\"0.5\">" + Tooltip(apszNames[i], dValue) + "</rect>\n";
        strSvg += "<text x=\"" + Num(BAR_X + BAR_LENGTH + 6) + "\" y=\"" + Num(y + 12.5) + "\">" +
                  Percent(dValue) + "</text>\n";
    }
}
} // namespace

std::string MakeSvgChart(CRiskModel& model, const std::string& strTitle)
{
    model.ComputeAll();
    const std::string strTitleText = EscapeXml(strTitle);
    std::string strSvg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                         Num(CHART_WIDTH) + "\" height=\"" + Num(CHART_HEIGHT) + "\" viewBox=\"0 0 " +
                         Num(CHART_WIDTH) + ' ' + Num(CHART_HEIGHT) +
                         "\" font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\" "
                         "font-size=\"13\" fill=\"" +
                         INK + "\">\n";
    strSvg += "<desc>Success probabilities of project " + strTitleText + "</desc>\n";
    strSvg += "<rect width=\"100%\" height=\"100%\" fill=\"#FFFFFF\"/>\n";
    // A title longer than the chart is wide is squeezed to fit, never cut:
    // bold 22-pixel letters are about 13 pixels wide on average.
    const std::string strHeading = "Project " + strTitle;
    const double dMaxWidth = CHART_WIDTH - 48;
    const std::string strFit = strHeading.size() * 13.0 > dMaxWidth
                                   ? " textLength=\"" + Num(dMaxWidth) + "\" lengthAdjust=\"spacingAndGlyphs\""
                                   : "";
    strSvg += "<text x=\"24\" y=\"36\" font-size=\"22\" font-weight=\"bold\"" + strFit + ">Project " + strTitleText +
              "</text>\n";
    const double dTotal = model.GetMetricValue(METRIC_TOTAL);
    strSvg += "<g>" + Tooltip("Total", dTotal) +
              "<text x=\"24\" y=\"64\" font-size=\"16\">Total Project Probability of Success: "
              "<tspan font-weight=\"bold\">" +
              Percent(dTotal) + "</tspan></text></g>\n";

    // The radar: rings at 25, 50 and 75 %, the 100 % ring, one spoke per category.
    strSvg += "<text x=\"24\" y=\"100\" font-size=\"15\" font-weight=\"bold\">By Category</text>\n";
    const auto Point = [](int k, double dRadius) {
        const double dAngle = -1.5707963267948966 + k * 6.283185307179586 / CATEGORY_COUNT;
        return std::pair{RADAR_X + dRadius * std::cos(dAngle), RADAR_Y + dRadius * std::sin(dAngle)};
    };
    const auto Ring = [&](double dFraction) {
        std::string strPoints;
        for (int k = 0; k < int(CATEGORY_COUNT); ++k)
        {
            const auto [x, y] = Point(k, RADAR_RADIUS * dFraction);
            strPoints += (k ? " " : "") + Num(x) + ',' + Num(y);
        }
        return strPoints;
    };
    for (const double dRing : {0.25, 0.5, 0.75})
        strSvg += "<polygon points=\"" + Ring(dRing) + "\" fill=\"none\" stroke=\"" + GRID +
                  "\" stroke-width=\"0.75\" stroke-dasharray=\"3 3\"/>\n";
    strSvg += "<polygon points=\"" + Ring(1) + "\" fill=\"none\" stroke=\"" + INK +
              "\" stroke-width=\"1.25\"><title>100%</title></polygon>\n";
    for (int k = 0; k < int(CATEGORY_COUNT); ++k)
    {
        const auto [x, y] = Point(k, RADAR_RADIUS);
        strSvg += "<line x1=\"" + Num(RADAR_X) + "\" y1=\"" + Num(RADAR_Y) + "\" x2=\"" + Num(x) +
                  "\" y2=\"" + Num(y) + "\" stroke=\"" + GRID + "\" stroke-width=\"0.75\"/>\n";
    }
    for (const auto& [dRing, pszLabel] : {std::pair{0.5, "50%"}, std::pair{1.0, "100%"}})
        strSvg += "<text x=\"" + Num(RADAR_X + 4) + "\" y=\"" + Num(RADAR_Y - RADAR_RADIUS * dRing + 13) +
                  "\" font-size=\"12\" fill=\"#555555\">" + pszLabel + "</text>\n";

    std::string strData;
    std::string strDots;
    for (int k = 0; k < int(CATEGORY_COUNT); ++k)
    {
        const double dValue = model.GetMetricValue(METRIC_CATEGORY_FIRST + k);
        const auto [x, y] = Point(k, RADAR_RADIUS * Fraction(dValue));
        strData += (k ? " " : "") + Num(x) + ',' + Num(y);
        strDots += "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"4.5\" fill=\"" + BLUE +
                   "\" stroke=\"#FFFFFF\" stroke-width=\"1.5\">" +
                   Tooltip(g_apszCategoryNames[k], dValue) + "</circle>\n";
        // The axis label outside the ring, anchored away from the centre.
        const auto [lx, ly] = Point(k, RADAR_RADIUS + 14);
        const char* pszAnchor = lx < RADAR_X - 5 ? "end" : lx > RADAR_X + 5 ? "start" : "middle";
        const double dBaseline = ly > RADAR_Y + 5 ? ly + 12 : ly < RADAR_Y - RADAR_RADIUS ? ly - 2 : ly + 4;
        strSvg += "<text x=\"" + Num(lx) + "\" y=\"" + Num(dBaseline) + "\" text-anchor=\"" + pszAnchor +
                  "\">" + g_apszCategoryNames[k] + " <tspan font-weight=\"bold\">" + Percent(dValue) +
                  "</tspan></text>\n";
    }
    strSvg += "<polygon points=\"" + strData + "\" fill=\"" + BLUE + "\" fill-opacity=\"0.25\" stroke=\"" +
              BLUE + "\" stroke-width=\"2.5\" stroke-linejoin=\"round\"/>\n";
    strSvg += strDots;

    AppendBars(strSvg, model, "By Phase", g_apszPhaseNames, METRIC_PHASE_FIRST, BLUE, 140);
    AppendBars(strSvg, model, "By Activity", g_apszActivityNames, METRIC_ACTIVITY_FIRST, ORANGE, 330);
    strSvg += "</svg>\n";
    return strSvg;
}
