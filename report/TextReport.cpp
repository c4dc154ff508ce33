#include "report/TextReport.h"

#include "files/File.h"
#include "report/Text.h"

std::string MakeTextReport(const SSnapshot& snapshot)
{
    std::string strText;
    for (int k = 0; k < METRIC_COUNT; ++k)
    {
        strText += MetricLabel(k);
        strText += " = ";
        strText += PercentText(snapshot.Metric(k));
        strText += "\r\n"; // on every platform
    }
    return strText;
}

void WriteTextReport(const SSnapshot& snapshot, const std::string& strPath)
{
    const std::string strText = MakeTextReport(snapshot);
    CFile file(strPath, CFile::modeCreateShared);
    file.Write(strText.data(), strText.size());
    file.Close();
}
