#include "report/PdfReport.h"

#include "model/Format.h"
#include "report/Export.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>

namespace
{
// The page is drawn in points: A4 is 595 x 842, with 40-point margins.
constexpr double PAGE_WIDTH = 595, MARGIN = 40;

QString Percent(double dValue)
{
    return QString::fromStdString(FormatNumbers("%.1f%%", {dValue * 100.0}));
}

class CPageWriter
{
public:
    explicit CPageWriter(QPainter& painter) : m_painter(painter) {}

    void Font(double dPoints, bool bBold)
    {
        QFont font("Liberation Sans");
        font.setPointSizeF(dPoints);
        font.setBold(bBold);
        m_painter.setFont(font);
    }

    // One line of text at x with its baseline at y.
    void Text(double x, double y, const QString& strText) { m_painter.drawText(QPointF(x, y), strText); }

    // A label and its value, the value right-aligned at xRight.
    void Row(double x, double xRight, double y, const QString& strLabel, const QString& strValue)
    {
        Font(10, false);
        Text(x, y, strLabel);
        Font(10, true);
        const double dWidth = m_painter.fontMetrics().horizontalAdvance(strValue);
        Text(xRight - dWidth, y, strValue);
    }

    void Heading(double y, const QString& strText)
    {
        Font(12, true);
        Text(MARGIN, y, strText);
        m_painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 0.5));
        m_painter.drawLine(QPointF(MARGIN, y + 4), QPointF(PAGE_WIDTH - MARGIN, y + 4));
        m_painter.setPen(QColor(0x22, 0x22, 0x22));
    }

private:
    QPainter& m_painter;
};
} // namespace

std::string MakePdfReport(CRiskModel& model, const std::string& strTitle)
{
    model.ComputeAll();
    const auto Metric = [&](int k) { return Percent(model.GetMetricValue(k)); };

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setResolution(72); // one device unit is one point
        writer.setTitle(QString::fromStdString("Velkor Project Report: " + strTitle));
        writer.setCreator("velkor-report");
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0x22, 0x22, 0x22));
        CPageWriter page(painter);

        const double xLeft = MARGIN, xMid = PAGE_WIDTH / 2 + 10, xRight = PAGE_WIDTH - MARGIN;
        const double xLeftValue = PAGE_WIDTH / 2 - 20;
        page.Font(10, false);
        page.Text(xLeft, 52, "Velkor Project Report");
        // A long title gets smaller letters, down to the tables' size, then
        // wraps onto a second line rather than leaving the page.
        const QString strHeading = "Project " + QString::fromStdString(strTitle);
        double dTitlePoints = 20;
        for (; dTitlePoints > 10; dTitlePoints -= 1)
        {
            page.Font(dTitlePoints, true);
            if (painter.fontMetrics().horizontalAdvance(strHeading) <= xRight - xLeft)
                break;
        }
        painter.drawText(QRectF(xLeft, 78 - dTitlePoints, xRight - xLeft, 2.6 * dTitlePoints),
                         Qt::TextWrapAnywhere, strHeading);

        double y = 112;
        page.Heading(y, "Summary");
        y += 22;
        page.Font(12, false);
        page.Text(xLeft, y, "Total Project Probability of Success:");
        page.Font(12, true);
        page.Text(xLeft + 220, y, Metric(METRIC_TOTAL));
        y += 20;
        const struct
        {
            const char* pszLabel;
            int nMetric;
            double dWeight;
        } aWeighted[] = {{"Technical Success Probability:", METRIC_TECHNICAL, model.GetTechnicalWeight()},
                         {"Schedule Success Probability:", METRIC_SCHEDULE, model.GetScheduleWeight()},
                         {"Cost Success Probability:", METRIC_COST, model.GetCostWeight()}};
        for (const auto& row : aWeighted)
        {
            page.Row(xLeft, xLeftValue, y, row.pszLabel, Metric(row.nMetric));
            page.Row(xMid, xRight, y, "Weighting:", Percent(row.dWeight));
            y += 15;
        }
        page.Row(xLeft, xLeftValue, y, "Process Probability:", Metric(METRIC_PROCESS));
        page.Row(xMid, xRight, y, "Product Probability:", Metric(METRIC_PRODUCT));

        y += 30;
        page.Heading(y, "By Category");
        y += 20;
        for (int k = 0; k < 5; ++k)
        {
            page.Row(xLeft, xLeftValue, y + 15 * k, QString(g_apszCategoryNames[k]) + ":",
                     Metric(METRIC_CATEGORY_FIRST + k));
            page.Row(xMid, xRight, y + 15 * k, QString(g_apszCategoryNames[k + 5]) + ":",
                     Metric(METRIC_CATEGORY_FIRST + 5 + k));
        }
        y += 5 * 15 + 15;
        page.Heading(y, "By Phase");
        page.Font(12, true);
        page.Text(xMid, y, "By Activity");
        y += 20;
        const char* const apszPhases[] = {"Pre-Requirements:", "Requirements:", "Design:",
                                          "Coding:",           "Testing:",      "Delivery and Maintenance:"};
        const char* const apszActivities[] = {"Identification:",   "Strategy and Planning:",
                                              "Risk Assessment:",  "Mitigation and Avoidance:",
                                              "Risk Reporting:",   "Prediction:"};
        for (int i = 0; i < 6; ++i)
        {
            page.Row(xLeft, xLeftValue, y + 15 * i, apszPhases[i], Metric(METRIC_PHASE_FIRST + i));
            page.Row(xMid, xRight, y + 15 * i, apszActivities[i], Metric(METRIC_ACTIVITY_FIRST + i));
        }
        y += 6 * 15 + 10;

        // The chart, as the SVG export draws it, across the page's width.
        // Qt's SVG renderer takes a font list for one family name, and lets a
        // bold span make its whole line bold: give it the one font, no spans.
        QByteArray svg = QByteArray::fromStdString(MakeSvgChart(model, strTitle));
        svg.replace("font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\"",
                    "font-family=\"Liberation Sans\" font-weight=\"normal\"");
        svg.replace("<tspan font-weight=\"bold\">", "<tspan>");
        QSvgRenderer chart(svg);
        // Below the chart's own title and total, which the page already shows.
        const double dChartTop = 80;
        const QSizeF size = chart.defaultSize() - QSizeF(0, dChartTop);
        chart.setViewBox(QRectF(QPointF(0, dChartTop), size));
        const double dWidth = PAGE_WIDTH - 2 * MARGIN;
        const QRectF target(xLeft, y, dWidth, dWidth * size.height() / size.width());
        painter.setClipRect(target);
        chart.render(&painter, target);
        painter.end();
    }
    return buffer.data().toStdString();
}
