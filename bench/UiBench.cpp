// The main window's hot paths, offscreen: building a category page and an
// answer click up to the refreshed category percentage.
#include "ui/MainDlg.h"

#include <QAbstractButton>
#include <QApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace
{
class CBenchMainDlg : public CMainDlg
{
public:
    void Open()
    {
        Create();
        show();
        for (int i = 0; i < 4; ++i)
        {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }
};

void BM_ShowCategory(benchmark::State& state)
{
    CBenchMainDlg dlg;
    dlg.Open();
    std::uint32_t k = 0;
    for (auto _ : state)
    {
        dlg.ShowCategory(1u << k); // a different page each time
        k = (k + 1) % CATEGORY_COUNT;
    }
    g_bAnswersModified = 0;
}
BENCHMARK(BM_ShowCategory)->Unit(benchmark::kMicrosecond);

void BM_AnswerClick(benchmark::State& state)
{
    CBenchMainDlg dlg;
    dlg.Open();
    std::array<QAbstractButton*, ANSWER_COLUMNS> pButtons{};
    for (int j = 0; j < ANSWER_COLUMNS; ++j)
        pButtons[j] =
            static_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_ANSWER_FIRST + 10 + j)->m_hWnd);
    int j = 0;
    for (auto _ : state)
    {
        pButtons[j]->click(); // row 2: the click, the answer, the new percentage
        benchmark::DoNotOptimize(dlg.m_strCategorySuccess.data());
        j = (j + 1) % ANSWER_COLUMNS;
    }
    g_bAnswersModified = 0;
}
BENCHMARK(BM_AnswerClick)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
