// velkor-make-icons OUTDIR SVGDIR SIZE...: renders the program icon for each
// size into OUTDIR/velkor-SIZE.png and writes OUTDIR/IconData.cpp, which puts
// the same PNG files into the program (the window icon). A size uses
// SVGDIR/velkor-SIZE.svg when there is one (a variant drawn for that size),
// else the scalable SVGDIR/velkor.svg.
// A build-time helper for the icon theme; it is not installed.
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace
{
int Fail(int nStatus, const QString& strText)
{
    std::fprintf(stderr, "velkor-make-icons: %s\n", qPrintable(strText));
    return nStatus;
}

QImage Render(const QString& strSvg, int nSize)
{
    QSvgRenderer renderer(strSvg);
    if (!renderer.isValid())
        return {};
    QImage image(nSize, nSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool Write(const QString& strPath, const QByteArray& data)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(data) == data.size() && file.flush();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return Fail(2, "usage: velkor-make-icons OUTDIR SVGDIR SIZE...");
    const QString strOut = QString::fromLocal8Bit(argv[1]);
    const QString strSvgDir = QString::fromLocal8Bit(argv[2]);
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i)
    {
        const int nSize = std::atoi(argv[i]);
        if (nSize <= 0 || nSize > 1024)
            return Fail(2, QString("bad size %1").arg(argv[i]));
        sizes.push_back(nSize);
    }
    std::sort(sizes.begin(), sizes.end(), std::greater<>()); // largest first

    QByteArray source = "// Made by velkor-make-icons from res/desktop/velkor*.svg. Do not edit.\n"
                        "#include \"res/Images.h\"\n\nnamespace\n{\n";
    QByteArray list;
    for (const int nSize : sizes)
    {
        QString strSvg = QString("%1/velkor-%2.svg").arg(strSvgDir).arg(nSize);
        if (!QFile::exists(strSvg))
            strSvg = strSvgDir + "/velkor.svg";
        const QImage image = Render(strSvg, nSize);
        if (image.isNull())
            return Fail(1, "cannot render " + strSvg);
        QByteArray png;
        QBuffer buffer(&png);
        const QString strPath = QString("%1/velkor-%2.png").arg(strOut).arg(nSize);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") ||
            !Write(strPath, png))
            return Fail(1, "cannot write " + strPath);
        source += "const unsigned char s_abIcon" + QByteArray::number(nSize) + "[] = {";
        for (qsizetype i = 0; i < png.size(); ++i)
            source += (i % 24 ? "" : "\n    ") +
                      QByteArray::number(static_cast<unsigned char>(png[i])) + ",";
        source += "\n};\n";
        list += "        {.pPng = s_abIcon" + QByteArray::number(nSize) +
                ", .nPngSize = sizeof s_abIcon" + QByteArray::number(nSize) + "},\n";
    }
    source += "} // namespace\n\nstd::vector<CResImage> MainIconImages()\n{\n    return {\n" +
              list + "    };\n}\n";
    if (!Write(strOut + "/IconData.cpp", source))
        return Fail(1, "cannot write " + strOut + "/IconData.cpp");
    return 0;
}
