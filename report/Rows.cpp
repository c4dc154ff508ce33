#include "report/Rows.h"

#include "files/Path.h"

#include <algorithm>
#include <cstring>

namespace
{
std::string Label(std::uint32_t i, std::uint32_t nAnswer)
{
    return CatalogueQuestion(i).GetAnswerLabel(nAnswer);
}

// The text table of the portfolio shows the summary; CSV and JSON carry all
// 28 metrics.
constexpr int s_anTextMetrics[] = {METRIC_TOTAL,    METRIC_TECHNICAL, METRIC_COST,
                                   METRIC_SCHEDULE, METRIC_PROCESS,   METRIC_PRODUCT};

std::size_t TextColumnWidth(const std::string& strName)
{
    return std::max<std::size_t>(strName.size(), 5);
}
} // namespace

std::string CsvMetricHeader(std::initializer_list<std::string_view> columns)
{
    std::string str = "index,label";
    for (const std::string_view strColumn : columns)
        str.append(",").append(strColumn);
    return str + '\n';
}

void AppendCsvMetric(std::string& strOut, int k, std::span<const double> values)
{
    strOut += std::to_string(k);
    strOut += ',';
    strOut += CsvField(MetricLabel(k));
    for (const double d : values)
    {
        strOut += ',';
        AppendCsvNumber(strOut, d);
    }
    strOut += '\n';
}

JsonRow JsonMetric(int k, std::initializer_list<std::pair<const char*, JsonRow>> fields)
{
    JsonRow row;
    row["index"] = k;
    row["label"] = MetricLabel(k);
    for (const auto& [pszName, value] : fields)
        row[pszName] = value;
    return row;
}

TextRow TextMetric(int k, std::span<const double> values, double dChange)
{
    TextRow row = {MetricLabel(k)};
    for (const double d : values)
        row.push_back(FormatPercent(d));
    row.push_back(FormatPoints(dChange));
    return row;
}

JsonRow JsonWeightsRow(const SWeights& weights)
{
    JsonRow json;
    json["technical"] = JsonNumber(weights.dTechnical);
    json["cost"] = JsonNumber(weights.dCost);
    json["schedule"] = JsonNumber(weights.dSchedule);
    return json;
}

void AppendCsvWeights(std::string& strOut, const SWeights& weights)
{
    for (const double d : {weights.dTechnical, weights.dCost, weights.dSchedule})
    {
        strOut += ',';
        AppendCsvNumber(strOut, d);
    }
}

std::vector<TextRow> TextWeights(const SWeights& old, const SWeights& now)
{
    std::vector<TextRow> rows;
    const auto Row = [&](int k, double SWeights::*pWeight) {
        rows.push_back({MetricName(k), FormatPercent(old.*pWeight), FormatPercent(now.*pWeight)});
    };
    Row(METRIC_TECHNICAL, &SWeights::dTechnical);
    Row(METRIC_COST, &SWeights::dCost);
    Row(METRIC_SCHEDULE, &SWeights::dSchedule);
    return rows;
}

JsonRow JsonAnswerChange(const SAnswerChange& change, SChangeNames names)
{
    const std::uint32_t i = change.nQuestion;
    JsonRow row;
    row["question"] = i;
    row["number"] = i + 1;
    row["category"] = CategoryName(i);
    row["text"] = CatalogueQuestion(i).GetText();
    row[names.pszFrom] = change.nFrom;
    row[names.pszTo] = change.nTo;
    row[std::string(names.pszFrom) + "_label"] = Label(i, change.nFrom);
    row[std::string(names.pszTo) + "_label"] = Label(i, change.nTo);
    return row;
}

const char g_szCsvAnswerChangeHeader[] =
    "question,number,category,text,from,to,from_label,to_label";

void AppendCsvAnswerChange(std::string& strOut, const SAnswerChange& change)
{
    const std::uint32_t i = change.nQuestion;
    strOut += std::to_string(i) + ',' + std::to_string(i + 1) + ',';
    strOut += CsvField(CategoryName(i)) + ',';
    strOut += CsvField(CatalogueQuestion(i).GetText());
    strOut += ',' + std::to_string(change.nFrom) + ',' + std::to_string(change.nTo) + ',';
    strOut += CsvField(Label(i, change.nFrom)) + ',';
    strOut += CsvField(Label(i, change.nTo));
}

TextRow TextAnswerChange(const SAnswerChange& change)
{
    const std::uint32_t i = change.nQuestion;
    return {"Q" + std::to_string(i + 1), CategoryName(i),
            Label(i, change.nFrom) + " -> " + Label(i, change.nTo),
            OneLine(CatalogueQuestion(i).GetText())};
}

JsonRow JsonStep(const SStepRow& step)
{
    JsonRow row = JsonAnswerChange(step.change, CHANGE_FROM_TO);
    row["gain"] = JsonNumber(step.dGain);
    row["total"] = JsonNumber(step.dTotal);
    return row;
}

const char g_szCsvStepHeader[] =
    "question,number,category,text,from,to,from_label,to_label,gain,total";

void AppendCsvStep(std::string& strOut, const SStepRow& step)
{
    AppendCsvAnswerChange(strOut, step.change);
    strOut += ',';
    AppendCsvNumber(strOut, step.dGain);
    strOut += ',';
    AppendCsvNumber(strOut, step.dTotal);
}

TextRow TextStep(const std::string& strNumber, const SStepRow& step, double dShownTotal,
                 const std::string& strQuestionEnd)
{
    TextRow row = {strNumber, FormatPoints(step.dGain), FormatPercent(dShownTotal)};
    TextRow change = TextAnswerChange(step.change);
    change.back() += strQuestionEnd;
    row.insert(row.end(), std::make_move_iterator(change.begin()),
               std::make_move_iterator(change.end()));
    return row;
}

void AppendCsvPortfolioHeader(std::string& strOut)
{
    strOut += "path,title,technical_weight,cost_weight,schedule_weight";
    for (int k = 0; k < METRIC_COUNT; ++k)
    {
        strOut += ',';
        strOut += CsvField(MetricLabel(k));
    }
    strOut += '\n';
}

void AppendCsvPortfolioRow(std::string& strOut, const std::string& strPath,
                           const SSnapshot& snapshot)
{
    strOut += CsvField(strPath);
    strOut += ',';
    strOut += CsvField(GetFileTitle(strPath));
    AppendCsvWeights(strOut, snapshot.weights);
    for (int k = 0; k < METRIC_COUNT; ++k)
    {
        strOut += ',';
        AppendCsvNumber(strOut, snapshot.Metric(k));
    }
    strOut += '\n';
}

JsonRow JsonPortfolioRow(const std::string& strPath, const SSnapshot& snapshot)
{
    JsonRow row;
    row["path"] = strPath;
    row["title"] = GetFileTitle(strPath);
    row["weights"] = JsonWeightsRow(snapshot.weights);
    JsonRow& metrics = row["metrics"] = JsonRow::array();
    for (int k = 0; k < METRIC_COUNT; ++k)
        metrics.push_back(JsonNumber(snapshot.Metric(k)));
    return row;
}

void AppendTextPortfolioHeader(std::string& strOut, std::size_t nPathWidth)
{
    strOut += "Path";
    strOut.append(nPathWidth - 4, ' ');
    for (const int k : s_anTextMetrics)
    {
        const std::string strName = MetricName(k);
        strOut.append(2 + TextColumnWidth(strName) - strName.size(), ' ');
        strOut += strName;
    }
    strOut += '\n';
}

void AppendTextPortfolioRow(std::string& strOut, const std::string& strPath,
                            const SSnapshot& snapshot, std::size_t nPathWidth)
{
    const std::string strShown = EscapeForDisplay(strPath);
    strOut += strShown;
    strOut.append(nPathWidth - TextWidth(strShown), ' ');
    for (const int k : s_anTextMetrics)
    {
        const std::string strValue = FormatPercent(snapshot.Metric(k));
        const std::size_t nWidth = TextColumnWidth(MetricName(k));
        strOut.append(2 + (strValue.size() < nWidth ? nWidth - strValue.size() : 0), ' ');
        strOut += strValue;
    }
    strOut += '\n';
}

std::size_t TextPortfolioPathWidth(const std::string& strPath)
{
    return TextWidth(EscapeForDisplay(strPath));
}

JsonRow JsonTrendPoint(const std::string& strPath, const SSnapshot& snapshot)
{
    return {{"path", strPath}, {"title", snapshot.strTitle}};
}

void AppendTextTrendPoint(std::string& strOut, std::size_t n, const std::string& strPath)
{
    strOut += std::to_string(n) + ". " + strPath + '\n';
}
