// The analysis page's way into the report layer: every function here calls
// what velkor-report calls, on project files the page wrote into the
// in-memory file system, so every number and byte is the same. Texts go to
// JavaScript as strings, an output's bytes as a Uint8Array (a string through
// embind would be read as UTF-8, which a PDF is not).
#include "web/analysis/Binding.h"

#include "files/FileException.h"
#include "input/Formats.h"
#include "input/ProjectLoad.h"
#include "model/Format.h"
#include "report/Compare.h"
#include "report/Formats.h"
#include "report/Improve.h"
#include "report/Portfolio.h"
#include "report/Text.h"
#include "report/Trend.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <sys/stat.h>
#include <vector>

using emscripten::val;

namespace
{
// The project's title, 28 probabilities and their texts as the page shows
// them, as JSON: one call a file, however many files are opened.
val Open(const std::string& strPath)
{
    return Run(
        [&](const Warn& onWarning)
        {
            const SSnapshot snapshot = LoadSnapshot(strPath, onWarning);
            nlohmann::json project = {{"title", snapshot.Title()}};
            for (int k = 0; k < METRIC_COUNT; ++k)
            {
                project["values"].push_back(snapshot.Metric(k));
                project["texts"].push_back(PercentText(snapshot.Metric(k)));
            }
            return project.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        });
}

// The 28 metrics' names and labels, the same for every project.
std::string MetricNames()
{
    nlohmann::json names;
    for (int k = 0; k < METRIC_COUNT; ++k)
        names.push_back({{"name", MetricName(k)}, {"label", MetricLabel(k)}});
    return names.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// The project's report in a format, as velkor-report PROJECT OUTPUT.ext
// writes it; the PDF's dates (seconds since 1970) as given.
val Report(const std::string& strPath, const std::string& strExtension, double dMade,
           double dModified)
{
    return Run(
        [&](const auto& onWarning)
        {
            const SSnapshot snapshot = LoadSnapshot(strPath, onWarning);
            SPdfOptions pdf;
            pdf.strMade = FormatReportTime(static_cast<long long>(dMade));
            pdf.strModified = FormatReportTime(static_cast<long long>(dModified));
            pdf.fontFolders = PdfFontFolders("");
            return FormatWriters(*FormatOfExtension(strExtension)).pfnReport(snapshot, pdf);
        });
}

// velkor-report compare OLD NEW, improve PROJECT [--target], trend PATHS and
// portfolio PATHS [--sort total] in a format.
val Compare(const std::string& strOld, const std::string& strNew, const std::string& strFormat)
{
    return Run(
        [&](const auto& onWarning)
        {
            const SCompareSide old{LoadSnapshot(strOld, onWarning), strOld};
            const SCompareSide now{LoadSnapshot(strNew, onWarning), strNew};
            return MakeCompareOutput(old, now, *Format(strFormat));
        });
}

val Improve(const std::string& strPath, int nTop, double dTarget, const std::string& strFormat)
{
    return Run(
        [&](const auto& onWarning)
        {
            const SSnapshot snapshot = LoadSnapshot(strPath, onWarning);
            return dTarget > 0 ? MakePlanOutput(snapshot, dTarget / 100.0, *Format(strFormat))
                               : MakeImproveOutput(snapshot, static_cast<std::size_t>(nTop),
                                                   *Format(strFormat));
        });
}

val Trend(const val& paths, const std::string& strFormat)
{
    return Run(
        [&](const auto& onWarning)
        {
            std::vector<STrendPoint> points;
            for (const std::string& strPath : Paths(paths))
                points.push_back({LoadSnapshot(strPath, onWarning), strPath});
            return MakeTrendOutput(points, *Format(strFormat));
        });
}

val Portfolio(const val& paths, const std::string& strFormat, bool bByTotal)
{
    val errorList = val::array();
    val result = Run(
        [&](const auto& onWarning)
        {
            std::vector<SPortfolioError> errors;
            const std::vector<std::string> projects = CollectProjects(Paths(paths), errors);
            COutput out;
            WritePortfolio(
                projects, *Format(strFormat), out, errors, [](const SPortfolioError&) {},
                bByTotal ? EPortfolioSort::total : EPortfolioSort::path, onWarning);
            for (const SPortfolioError& error : errors)
                errorList.call<void>("push", error.strMessage);
            return out.Memory();
        });
    result.set("errors", errorList);
    return result;
}

std::string Percent(double dFraction)
{
    return PercentText(dFraction);
}

std::string Points(double dChange)
{
    return FormatPoints(dChange);
}

// "%.<nPrecision>f" with the program's rounding.
std::string Fixed(double dValue, int nPrecision)
{
    return FormatFixed(dValue, nPrecision);
}

std::string Text(int nId)
{
    return LoadResString(nId);
}
} // namespace

EMSCRIPTEN_BINDINGS(velkor_analysis)
{
    emscripten::function("open", &Open);
    emscripten::function("metricNames", &MetricNames);
    emscripten::function("report", &Report);
    emscripten::function("compare", &Compare);
    emscripten::function("improve", &Improve);
    emscripten::function("trend", &Trend);
    emscripten::function("portfolio", &Portfolio);
    emscripten::function("percent", &Percent);
    emscripten::function("points", &Points);
    emscripten::function("fixed", &Fixed);
    emscripten::function("text", &Text);
}
