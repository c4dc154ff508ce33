#include "platform/WinApp.h"
#include "platform/Backend.h"
#include "platform/MessageBox.h"
#include "platform/qt/Dialog.h"
#include "res/Images.h"

#include <QApplication>
#include <QFileInfo>
#include <QIconEngine>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace
{
// An icon that is loaded when it is first drawn, measured or listed. Every
// menu bar asks for the icon of its overflow button when it is built, and the
// main window sets its icon before it is shown: decoding their images at
// start-up would be work for a button a dialog's menu never shows and for
// sizes that only a window manager asks for.
class CDeferredIconEngine : public QIconEngine
{
public:
    explicit CDeferredIconEngine(std::function<QIcon()> load) : m_load(std::move(load)) {}
    void paint(QPainter* pPainter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(pPainter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal dScale) override
    {
        return Icon().pixmap(size, dScale, mode, state);
    }
    bool isNull() override { return false; } // never empty; asking must not load it
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new CDeferredIconEngine(*this); }

private:
    const QIcon& Icon()
    {
        if (!m_bLoaded)
            m_icon = m_load();
        m_bLoaded = true;
        return m_icon;
    }

    std::function<QIcon()> m_load;
    QIcon m_icon;
    bool m_bLoaded = false;
};

// Fusion, with the menu bar's overflow icons loaded when first needed.
class CDialogStyle : public QProxyStyle
{
public:
    explicit CDialogStyle(QStyle* pFusion) : QProxyStyle(pFusion) {}
    QIcon standardIcon(StandardPixmap nPixmap, const QStyleOption* pOption,
                       const QWidget* pWidget) const override
    {
        if (nPixmap == SP_ToolBarHorizontalExtensionButton ||
            nPixmap == SP_ToolBarVerticalExtensionButton)
            return QIcon(new CDeferredIconEngine([pStyle = baseStyle(), nPixmap]
                                                 { return pStyle->standardIcon(nPixmap); }));
        return QProxyStyle::standardIcon(nPixmap, pOption, pWidget);
    }
    // Fusion outlines a radio button's circle in the window colour a third
    // darker: 2:1 against a light window, nearly nothing against a dark one.
    // The outline is drawn in a mix towards the text colour that stands at
    // least 3:1 apart from the window instead; the rest is Fusion's.
    void drawPrimitive(PrimitiveElement nElement, const QStyleOption* pOption, QPainter* pPainter,
                       const QWidget* pWidget) const override
    {
        if (nElement != PE_IndicatorRadioButton)
            return QProxyStyle::drawPrimitive(nElement, pOption, pPainter, pWidget);
        const QColor window = pOption->palette.color(QPalette::Window);
        const QColor text = pOption->palette.color(QPalette::WindowText);
        QColor outline = window.darker(150);
        for (int nStep = 1; nStep <= 20 && AfxContrastRatio(outline, window) < 3.6; ++nStep)
            outline = AfxMixColors(window, text, nStep / 20.0);
        QStyleOption option(*pOption);
        option.palette.setColor(QPalette::Window,
                                outline.lighter(150)); // Fusion: window.darker(150)
        QProxyStyle::drawPrimitive(nElement, &option, pPainter, pWidget);
    }
};

} // namespace

std::string AfxProgramName()
{
    if (QCoreApplication::instance() == nullptr)
        return {};
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

namespace
{
QtMessageHandler s_pQtHandler = nullptr;

// Without a display Qt ends the program from inside QApplication: it says
// that reinstalling might help and aborts. A fatal message before the main
// window exists is that case; say what helps instead and exit as a failure.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    if (type != QtFatalMsg || AfxGetMainWnd() != nullptr)
    {
        s_pQtHandler(type, context, strMessage);
        return;
    }
    std::fputs("velkor: no display to show the window on; run it in a desktop session, under "
               "xvfb-run, or with QT_QPA_PLATFORM=offscreen\n",
               stderr);
    std::_Exit(1);
}
} // namespace

int CWinApp::Run(int argc, char** argv)
{
    if (s_pQtHandler == nullptr)
        s_pQtHandler = qInstallMessageHandler(OnQtMessage);
    QApplication app(argc, argv);
    const int nCode = InitInstance() ? QApplication::exec() : 0;
    const int nExit = ExitInstance();
    return nCode != 0 ? nCode : nExit;
}

void CWinApp::Enable3dControls()
{
    if (QStyle* pStyle = QStyleFactory::create("Fusion"))
        QApplication::setStyle(new CDialogStyle(pStyle));
    QApplication::setFont(AfxGetDialogFont());
    QApplication::setQuitOnLastWindowClosed(false);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) const
{
    std::vector<std::string> args;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        args.push_back(all[i].toStdString());
    ParseArguments(args, rCmdInfo);
}

namespace
{
QPixmap LoadResImage(const CResImage& image)
{
    QPixmap pixmap;
    if (image.ppXpm)
        pixmap = QPixmap(image.ppXpm);
    else
        pixmap.loadFromData(image.pPng, static_cast<uint>(image.nPngSize), "PNG");
    pixmap.setDevicePixelRatio(image.nScale);
    return pixmap;
}
} // namespace

QIcon AfxLoadIcon(int nId)
{
    if (FindResImages(nId).empty())
        return {};
    return QIcon(new CDeferredIconEngine(
        [nId]
        {
            QIcon icon;
            for (const CResImage& image : FindResImages(nId))
                icon.addPixmap(LoadResImage(image));
            return icon;
        }));
}

QPixmap AfxLoadBitmap(int nId, double dPixelRatio)
{
    // The picture drawn for the screen's pixel ratio or the next finer one,
    // else the finest there is; Qt scales it to the same logical size.
    if (dPixelRatio <= 0)
        dPixelRatio = qApp ? qApp->devicePixelRatio() : 1.0;
    const std::optional<CResImage> pBest = FindResImage(nId, dPixelRatio);
    return pBest ? LoadResImage(*pBest) : QPixmap();
}
