// The analysis page's way into the report layer: every function here calls
// what velkor-report calls, on project files the page wrote into the
// in-memory file system, so every number and byte is the same. Texts go to
// JavaScript as strings, an output's bytes as a Uint8Array (a string through
// embind would be read as UTF-8, which a PDF is not).
#include "files/FileException.h"
#include "model/Format.h"
#include "report/Compare.h"
#include "report/Improve.h"
#include "report/Portfolio.h"
#include "report/ProjectLoad.h"
#include "report/Text.h"
#include "report/Trend.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <functional>
#include <sys/stat.h>
#include <vector>

using emscripten::val;

namespace
{
val Bytes(const std::string& strBytes)
{
    const auto view = emscripten::typed_memory_view(
        strBytes.size(), reinterpret_cast<const unsigned char*>(strBytes.data()));
    return val::global("Uint8Array").new_(view); // a copy: the string goes away
}

// { bytes } from fnWork, or { error } with velkor-report's message; the
// warnings it met in both cases.
val Run(const std::function<std::string(const std::function<void(const std::string&)>&)>& fnWork)
{
    val result = val::object();
    val warnings = val::array();
    const auto onWarning = [&](const std::string& str)
    { warnings.call<void>("push", "warning: " + str); };
    try
    {
        result.set("bytes", Bytes(fnWork(onWarning)));
    }
    catch (const CFileException& e)
    {
        result.set("error", DescribeFileError(e));
    }
    catch (const CWrongFileError& e)
    {
        result.set("error", std::string(e.what()));
    }
    catch (const CPdfError& e)
    {
        result.set("error", std::string(e.what()));
    }
    catch (const std::bad_alloc&)
    {
        result.set("error", LoadResString(IDS_WEB_OUT_OF_MEMORY));
    }
    result.set("warnings", warnings);
    return result;
}

std::vector<std::string> Paths(const val& paths)
{
    return emscripten::vecFromJSArray<std::string>(paths);
}

std::optional<EOutputFormat> Format(const std::string& strExtension)
{
    return strExtension == "text" ? std::optional(EOutputFormat::text)
                                  : FormatOfExtension(strExtension);
}

// The project's title, total and 28 probabilities as the page shows them.
val Open(const std::string& strPath)
{
    val project = val::object();
    val result = Run(
        [&](const auto& onWarning)
        {
            const SSnapshot snapshot = LoadSnapshot(strPath, onWarning);
            project.set("title", snapshot.strTitle);
            val metrics = val::array();
            for (int k = 0; k < METRIC_COUNT; ++k)
            {
                val metric = val::object();
                metric.set("name", MetricName(k));
                metric.set("label", MetricLabel(k));
                metric.set("value", snapshot.Metric(k));
                metric.set("text", PercentText(snapshot.Metric(k)));
                metrics.call<void>("push", metric);
            }
            project.set("metrics", metrics);
            return std::string();
        });
    result.set("project", project);
    return result;
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
            return OutputFormatInfo(*FormatOfExtension(strExtension)).pfnReport(snapshot, pdf);
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

std::string Text(int nId)
{
    return LoadResString(nId);
}
} // namespace

EMSCRIPTEN_BINDINGS(velkor_analysis)
{
    emscripten::function("open", &Open);
    emscripten::function("report", &Report);
    emscripten::function("compare", &Compare);
    emscripten::function("improve", &Improve);
    emscripten::function("trend", &Trend);
    emscripten::function("portfolio", &Portfolio);
    emscripten::function("percent", &Percent);
    emscripten::function("points", &Points);
    emscripten::function("text", &Text);
}
