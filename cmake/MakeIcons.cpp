// velkor-make-icons OUTDIR SIZE...: writes OUTDIR/velkor-SIZE.png for each
// size, scaled from the program icon (the picture closest in size, smoothly).
// A build-time helper for the icon theme; it is not installed.
#include "res/Images.h"
#include "res/resource.h"

#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fputs("usage: velkor-make-icons OUTDIR SIZE...\n", stderr);
        return 2;
    }
    std::vector<QImage> images;
    for (const char* const* ppXpm : FindResImages(IDI_MAIN))
        images.emplace_back(ppXpm);
    if (images.empty() || images.front().isNull())
    {
        std::fputs("velkor-make-icons: the program icon is missing\n", stderr);
        return 1;
    }
    for (int i = 2; i < argc; ++i)
    {
        const int nSize = std::atoi(argv[i]);
        if (nSize <= 0 || nSize > 1024)
        {
            std::fprintf(stderr, "velkor-make-icons: bad size %s\n", argv[i]);
            return 2;
        }
        // The smallest picture at least as large, else the largest one.
        const QImage* pSource = &images.front(); // largest first
        for (const QImage& image : images)
            if (image.width() >= nSize)
                pSource = &image;
        QImage icon = pSource->convertToFormat(QImage::Format_ARGB32);
        if (icon.width() != nSize)
        {
            // Whole multiples keep the pixels sharp; other sizes are smoothed.
            const bool bMultiple = nSize % icon.width() == 0;
            icon = icon.scaled(nSize, nSize, Qt::IgnoreAspectRatio,
                               bMultiple ? Qt::FastTransformation : Qt::SmoothTransformation);
        }
        const QString strPath =
            QString::fromLocal8Bit(argv[1]) + "/velkor-" + QString::number(nSize) + ".png";
        if (!icon.save(strPath, "PNG"))
        {
            std::fprintf(stderr, "velkor-make-icons: cannot write %s\n", qPrintable(strPath));
            return 1;
        }
    }
    return 0;
}
