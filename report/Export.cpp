#include "report/Export.h"

#include "model/Format.h"
#include "report/Chart.h"
#include "report/CommandOutput.h"
#include "report/Numbers.h"
#include "report/Rows.h"
#include "report/Text.h"

#include <nlohmann/json.hpp>

#include <array>
#include <bit>
#include <cmath>
#include <utility>

std::string MakeJsonExport(const SSnapshot& snapshot)
{
    using Json = nlohmann::ordered_json;
    Json document = {{"format", "velkor-project"}, {"version", 1}, {"title", snapshot.strTitle}};
    document["weights"] = JsonWeightsRow(snapshot.weights);
    Json& answers = document["answers"] = Json::array();
    for (std::uint32_t i = 0; i < QUESTION_COUNT; ++i)
    {
        const std::uint32_t nAnswer = snapshot.anAnswers[i];
        answers.push_back({{"question", i},
                           {"category", CategoryName(i)},
                           {"text", CatalogueQuestion(i).GetText()},
                           {"answer", nAnswer},
                           {"label", CatalogueQuestion(i).GetAnswerLabel(nAnswer)},
                           {"value", JsonNumber(AnswerValue(i, nAnswer))}});
    }
    Json& metrics = document["metrics"] = Json::array();
    for (int k = 0; k < METRIC_COUNT; ++k)
        metrics.push_back(JsonMetric(k, {{"value", JsonNumber(snapshot.Metric(k))}}));
    return DumpJson(document);
}

std::string MakeCsvExport(const SSnapshot& snapshot)
{
    std::string strCsv = CsvMetricHeader({"value"});
    for (int k = 0; k < METRIC_COUNT; ++k)
        AppendCsvMetric(strCsv, k, std::array{snapshot.Metric(k)});
    return strCsv;
}

namespace
{
std::string Num(double d)
{
    return FormatFixed(d, 1);
}

std::string Attribute(const char* pszName, const std::string& strValue)
{
    return std::string(" ") + pszName + "=\"" + strValue + '"';
}

std::string Title(const std::string& strTooltip)
{
    return strTooltip.empty() ? std::string() : "<title>" + EscapeXml(strTooltip) + "</title>";
}

std::string SvgText(const SChartShape& shape)
{
    std::string strSvg =
        "<text" + Attribute("x", Num(shape.at[0])) + Attribute("y", Num(shape.at[1]));
    if (shape.dFontSize != 0)
        strSvg += Attribute("font-size", FormatShortest(shape.dFontSize));
    if (shape.bBold)
        strSvg += Attribute("font-weight", "bold");
    if (shape.pszAnchor)
        strSvg += Attribute("text-anchor", shape.pszAnchor);
    if (shape.pszFill)
        strSvg += Attribute("fill", shape.pszFill);
    if (shape.dFitWidth != 0)
        strSvg += Attribute("textLength", Num(shape.dFitWidth)) +
                  Attribute("lengthAdjust", "spacingAndGlyphs");
    strSvg += ">" + EscapeXml(shape.strText);
    if (!shape.strBold.empty())
        strSvg += "<tspan font-weight=\"bold\">" + EscapeXml(shape.strBold) + "</tspan>";
    strSvg += "</text>";
    // A text's tooltip covers it in a group.
    return shape.strTooltip.empty() ? strSvg : "<g>" + Title(shape.strTooltip) + strSvg + "</g>";
}

std::string SvgShape(const SChartShape& shape)
{
    static const char* const s_apszNames[] = {"text", "rect",   "polygon",
                                              "line", "circle", "polyline"};
    static const char* const s_apszCoordinates[][4] = {
        {}, {"x", "y", "width", "height"}, {}, {"x1", "y1", "x2", "y2"}, {"cx", "cy", "r"}, {}};
    const char* pszName = s_apszNames[shape.eKind];
    std::string strSvg = std::string("<") + pszName;
    if (shape.eKind == SChartShape::polygon || shape.eKind == SChartShape::polyline)
    {
        std::string strPoints;
        for (std::size_t n = 0; n + 1 < shape.at.size(); n += 2)
            strPoints += (n ? " " : "") + Num(shape.at[n]) + ',' + Num(shape.at[n + 1]);
        strSvg += Attribute("points", strPoints);
    }
    else
        for (std::size_t n = 0; n < shape.at.size(); ++n)
            strSvg += Attribute(s_apszCoordinates[shape.eKind][n], Num(shape.at[n]));
    if (shape.pszFill)
        strSvg += Attribute("fill", shape.pszFill);
    if (shape.dFillOpacity != 1.0)
        strSvg += Attribute("fill-opacity", FormatShortest(shape.dFillOpacity));
    if (shape.pszStroke)
        strSvg += Attribute("stroke", shape.pszStroke) +
                  Attribute("stroke-width", FormatShortest(shape.dStrokeWidth));
    if (shape.bDashed)
        strSvg += Attribute("stroke-dasharray", "3 3");
    if (shape.bRoundJoin)
        strSvg += Attribute("stroke-linejoin", "round");
    if (shape.strTooltip.empty())
        return strSvg + "/>";
    return strSvg + ">" + Title(shape.strTooltip) + "</" + pszName + ">";
}
} // namespace

std::string MakeSvgChart(const SSnapshot& snapshot)
{
    return WriteSvg(MakeChart(snapshot));
}

std::string WriteSvg(const SChart& chart)
{
    std::string strSvg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\"" +
        Attribute("width", Num(chart.dWidth)) + Attribute("height", Num(chart.dHeight)) +
        Attribute("viewBox", "0 0 " + Num(chart.dWidth) + ' ' + Num(chart.dHeight)) +
        " font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\"" +
        Attribute("font-size", FormatShortest(chart.dFontSize)) + Attribute("fill", chart.pszInk) +
        ">\n";
    strSvg += "<desc>" + EscapeXml(chart.strDescription) + "</desc>\n";
    strSvg += "<rect width=\"100%\" height=\"100%\" fill=\"#FFFFFF\"/>\n";
    for (const SChartShape& shape : chart.shapes)
        strSvg += (shape.eKind == SChartShape::text ? SvgText(shape) : SvgShape(shape)) + '\n';
    strSvg += "</svg>\n";
    return strSvg;
}
