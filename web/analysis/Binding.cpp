// What every function of the page's binding shares.
#include "web/analysis/Binding.h"

#include "files/FileException.h"
#include "report/PdfReport.h"
#include "report/ProjectLoad.h"
#include "res/Strings.h"
#include "res/resource.h"

#include <new>

val Bytes(const std::string& strBytes)
{
    const auto view = emscripten::typed_memory_view(
        strBytes.size(), reinterpret_cast<const unsigned char*>(strBytes.data()));
    return val::global("Uint8Array").new_(view); // a copy: the string goes away
}

val Run(const std::function<std::string(const Warn&)>& fnWork)
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
