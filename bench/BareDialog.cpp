// The start-up baseline: a bare Qt program that shows an empty dialog of the
// main window's size (708 x 564) and quits once it is up, as
// velkor_bench_first_page does after the first page.
#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dlg;
    dlg.setFixedSize(708, 564);
    QTimer::singleShot(0, &dlg, [&dlg] { QTimer::singleShot(0, &dlg, &QDialog::reject); });
    dlg.exec();
    return 0;
}
