#include "report/TextReport.h"

#include "files/File.h"
#include "model/Format.h"

std::string MakeTextReport(CRiskModel& model)
{
    model.ComputeAll();
    std::string strText;
    for (int k = 0; k < METRIC_COUNT; ++k)
    {
        strText += model.GetMetricLabel(k);
        strText += " = ";
        strText += FormatNumbers("%.1f%%", {model.GetMetricValue(k) * 100.0});
        strText += "\r\n"; // on every platform
    }
    return strText;
}

void WriteTextReport(CRiskModel& model, const std::string& strPath)
{
    const std::string strText = MakeTextReport(model);
    CFile file(strPath, CFile::modeCreateShared);
    file.Write(strText.data(), strText.size());
    file.Close();
}
