#include "tools/report/Export.h"

#include "model/Format.h"
#include "tools/report/Numbers.h"

#include <nlohmann/json.hpp>

#include <bit>

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
    const std::string strDecoded = nlohmann::json::parse(strValid).get<std::string>();
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

std::string MakeSvgChart(CRiskModel& model, const std::string& strTitle)
{
    model.ComputeAll();
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"><title>" + EscapeXml(strTitle) + "</title></svg>\n";
}
