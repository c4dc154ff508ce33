// The windows under the default and a dark desktop palette: every text
// readable, the pressed category and the answer circles 3:1 apart from what
// surrounds them, the triangle drawn. The pictures are kept in
// screenshots/dark-*.png and screenshots/contrast-*.png.
#include "GuiTestSupport.h"
#include "platform/MessageBox.h"
#include "ui/AboutDlg.h"
#include "ui/MainDlg.h"
#include "ui/PriorityDlg.h"

#include <QApplication>
#include <QDir>
#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace
{
// A dark desktop theme: light text on dark grounds, greyed text in between.
QPalette DarkPalette()
{
    const QColor light(225, 225, 225);
    // window text, button, light, dark, mid, text, bright text, base, window
    QPalette pal(light, QColor(58, 58, 58), QColor(80, 80, 80), QColor(25, 25, 25),
                 QColor(40, 40, 40), light, Qt::white, QColor(30, 30, 30), QColor(45, 45, 45));
    pal.setColor(QPalette::Highlight, QColor(42, 130, 218));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, QColor(130, 130, 130));
    return pal;
}

// The spread of grey levels in a picture: text on its ground spreads wide.
int Contrast(const QImage& image)
{
    int nMin = 255, nMax = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
        {
            const int g = qGray(image.pixel(x, y));
            nMin = std::min(nMin, g);
            nMax = std::max(nMax, g);
        }
    return nMax - nMin;
}

double MeanGray(const QImage& image)
{
    double dSum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dSum += qGray(image.pixel(x, y));
    return dSum / (image.width() * image.height());
}

// The colour most pixels of a picture have: a button's face, a window's ground.
QColor Ground(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    return QColor(std::max_element(counts.begin(), counts.end(),
                                   [](auto& a, auto& b) { return a.second < b.second; })
                      ->first);
}

// The largest contrast ratio of any pixel of a picture to a colour.
double MostContrast(const QImage& image, const QColor& ground)
{
    double dMost = 1.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dMost = std::max(dMost, AfxContrastRatio(QColor(image.pixel(x, y)), ground));
    return dMost;
}

class DarkThemeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_palette = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        g_bAnswersModified = 0;
        QDir().mkpath(m_strDir);
    }
    void TearDown() override { QApplication::setPalette(m_palette); }
    static QImage Shot(CWnd* pWnd) { return pWnd->m_hWnd->grab().toImage(); }

    QPalette m_palette;
    const QString m_strDir = QString(VELKOR_BINARY_DIR) + "/screenshots";
};
} // namespace

TEST_F(DarkThemeTest, MainWindowTextsAreReadableAndThePressedCategoryStandsOut)
{
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.show();
    Pump();
    std::vector<int> texts{IDC_CATEGORY_SUCCESS, IDC_PRIORITY_WEIGHTS};
    for (int k = 0; k < static_cast<int>(CATEGORY_COUNT); ++k)
        texts.push_back(IDC_CATEGORY_FIRST + k);
    for (int j = 0; j < ANSWER_COLUMNS; ++j)
        texts.push_back(IDC_HEADING_FIRST + j);
    for (int r = 0; r < 8; ++r)
        texts.push_back(IDC_QUESTION_FIRST + r);
    for (int nID : texts)
        EXPECT_GE(Contrast(Shot(dlg.GetDlgItem(nID))), 120) << nID;
    const double dPressed = MeanGray(Shot(dlg.GetDlgItem(IDC_CATEGORY_FIRST)));
    for (int k = 1; k < static_cast<int>(CATEGORY_COUNT); ++k)
        EXPECT_GE(std::abs(dPressed - MeanGray(Shot(dlg.GetDlgItem(IDC_CATEGORY_FIRST + k)))), 20.0)
            << k;
    EXPECT_TRUE(dlg.grab().save(m_strDir + "/dark-main.png"));
}

TEST_F(DarkThemeTest, TheTriangleOutlineShows)
{
    CPriorityDlg dlg;
    dlg.m_dTechnicalPriority = dlg.m_dCostPriority = dlg.m_dSchedulePriority = 0.333;
    ASSERT_TRUE(dlg.Create());
    Pump();
    const CRect rc = dlg.GetDlgItem(IDC_TRIANGLE_FRAME)->GetWindowRect();
    const QImage image = AfxGetClientWidget(dlg)->grab().toImage();
    const int nGround = qGray(image.pixel(rc.left + 20, rc.bottom - 20));
    for (const QPoint pt :
         {QPoint(rc.left + 40, rc.bottom), QPoint(rc.left, rc.bottom), QPoint(rc.right, rc.bottom)})
        EXPECT_GE(std::abs(qGray(image.pixel(pt)) - nGround), 100) << pt.x();
    for (int nID :
         {IDC_TECHNICAL_LABEL, IDC_COST_LABEL, IDC_SCHEDULE_LABEL, IDOK, IDCANCEL, IDC_DEFAULT})
        EXPECT_GE(Contrast(Shot(dlg.GetDlgItem(nID))), 120) << nID;
    EXPECT_TRUE(dlg.grab().save(m_strDir + "/dark-priority.png"));
}

TEST_F(DarkThemeTest, AboutBoxTextsAreReadable)
{
    CAboutDlg dlg(nullptr, nullptr, nullptr);
    ASSERT_TRUE(dlg.Create(IDD_ABOUT));
    Pump();
    for (int nID : {IDC_FILE_VERSION, IDC_COPYRIGHT, IDC_DESCRIPTION})
        dlg.SetDlgItemText(nID, "1.0.0.1"); // this test program carries no version information
    for (int nID : {IDC_FILE_VERSION, IDC_COPYRIGHT, IDC_DESCRIPTION, IDOK})
        EXPECT_GE(Contrast(Shot(dlg.GetDlgItem(nID))), 120) << nID;
    EXPECT_TRUE(dlg.grab().save(m_strDir + "/dark-about.png"));
}

// The pressed category against the others, and the outline of an answer's
// circle against the page, in the default and the dark palette.
TEST(Contrast, PressedCategoryAndAnswerCirclesStandThreeToOneApart)
{
    const QPalette defaultPalette = QApplication::palette();
    for (const auto& [pszName, palette] :
         {std::pair{"default", defaultPalette}, std::pair{"dark", DarkPalette()}})
    {
        QApplication::setPalette(palette);
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.show();
        Pump();
        auto shot = [&](int nID) { return dlg.GetDlgItem(nID)->m_hWnd->grab().toImage(); };
        // A button's face halfway down its left end, away from border and text.
        auto face = [&](int nID)
        {
            const QImage image = shot(nID);
            return image.pixelColor(6, image.height() / 2);
        };
        const QColor pressed = face(IDC_CATEGORY_FIRST);
        for (int k = 1; k < static_cast<int>(CATEGORY_COUNT); ++k)
            EXPECT_GE(AfxContrastRatio(pressed, face(IDC_CATEGORY_FIRST + k)), 3.0)
                << pszName << " category " << k;
        // Row 0 answers None: its other four circles are unchecked.
        const QColor page = Ground(AfxGetClientWidget(dlg)->grab().toImage());
        for (int j = 1; j < ANSWER_COLUMNS; ++j)
            EXPECT_GE(MostContrast(shot(AnswerId(0, j)), page), 3.0) << pszName << " answer " << j;
        EXPECT_TRUE(dlg.grab().save(QString(VELKOR_BINARY_DIR) + "/screenshots/contrast-" +
                                    pszName + ".png"));
        dlg.DestroyWindow();
    }
    QApplication::setPalette(defaultPalette);
}
