// Dialog templates, menus and bitmaps built in memory from res/.
#include "platform/Dialog.h"
#include "res/Images.h"
#include "res/resource.h"

#include "platform/win32/Windows.h"

#include "platform/win32/Build.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
class CTemplateWriter
{
public:
    void Word(std::uint32_t w) { m_words.push_back(static_cast<std::uint16_t>(w)); }
    void DWord(std::uint32_t d)
    {
        Word(d & 0xFFFFu);
        Word(d >> 16);
    }
    void Text(const std::string& str)
    {
        for (wchar_t c : Utf8ToWide(str))
            Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void AlignDWord()
    {
        if (m_words.size() % 2 != 0)
            Word(0);
    }
    std::vector<std::uint16_t> m_words;
};

std::uint16_t ClassAtom(CtlClass cls)
{
    switch (cls)
    {
    case CtlClass::Button:
        return 0x0080;
    case CtlClass::Edit:
        return 0x0081;
    case CtlClass::Static:
        return 0x0082;
    case CtlClass::ListBox:
        return 0x0083;
    case CtlClass::ComboBox:
        return 0x0085;
    }
    return 0x0082;
}
} // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const DlgTemplate& tpl)
{
    CTemplateWriter w;
    w.Word(1);      // dlgVer
    w.Word(0xFFFF); // signature: extended template
    w.DWord(0);     // helpID
    // The template's "own task-bar button" is an extended style here (its
    // bit would be a sizing border among the plain styles). The framework
    // shows the window once OnInitDialog has run.
    const bool bAppWindow = (tpl.dwStyle & DS_APPWINDOW) != 0;
    w.DWord(bAppWindow ? WS_EX_APPWINDOW : 0);
    w.DWord((tpl.dwStyle & ~(WS_VISIBLE | DS_APPWINDOW)) | DS_SETFONT | DS_FIXEDSYS);
    w.Word(static_cast<std::uint32_t>(tpl.items.size()));
    w.Word(static_cast<std::uint32_t>(tpl.x));
    w.Word(static_cast<std::uint32_t>(tpl.y));
    w.Word(static_cast<std::uint32_t>(tpl.cx));
    w.Word(static_cast<std::uint32_t>(tpl.cy));
    w.Word(0); // no menu: the framework sets its own
    w.Word(0); // the dialog class
    w.Text(tpl.strCaption);
    w.Word(8);      // points
    w.Word(400);    // weight
    w.Word(0x0100); // not italic, DEFAULT_CHARSET
    w.Text("MS Shell Dlg");
    for (const DlgItemTemplate& item : tpl.items)
    {
        w.AlignDWord();
        std::uint32_t dwStyle = item.dwStyle | WS_CHILD;
        if (item.cls == CtlClass::Static && (dwStyle & SS_TYPEMASK) != SS_BITMAP)
            dwStyle |= SS_NOPREFIX;
        if (item.cls == CtlClass::Edit && (dwStyle & ES_MULTILINE))
            dwStyle |= ES_AUTOVSCROLL;
        w.DWord(0); // helpID
        w.DWord(0); // exStyle
        w.DWord(dwStyle);
        w.Word(static_cast<std::uint32_t>(item.x));
        w.Word(static_cast<std::uint32_t>(item.y));
        w.Word(static_cast<std::uint32_t>(item.cx));
        w.Word(static_cast<std::uint32_t>(item.cy));
        w.DWord(static_cast<std::uint32_t>(item.nId == -1 ? 0xFFFF : item.nId));
        w.Word(0xFFFF);
        w.Word(ClassAtom(item.cls));
        w.Text(item.strText);
        w.Word(0); // no creation data
    }
    return std::move(w.m_words);
}

HMENU BuildMenu(const MenuTemplate& menu)
{
    HMENU hBar = CreateMenu();
    for (const MenuPopupTemplate& popup : menu.popups)
    {
        HMENU hPopup = CreatePopupMenu();
        for (const MenuItemTemplate& item : popup.items)
            if (item.nCommand == 0)
                AppendMenuW(hPopup, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenuW(hPopup, MF_STRING, static_cast<UINT_PTR>(item.nCommand),
                            Utf8ToWide(item.strText).c_str());
        AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup),
                    Utf8ToWide(popup.strText).c_str());
    }
    return hBar;
}

namespace
{
// An XPM picture ("w h colours 1", "c #RRGGBB" or "c None", rows) as
// 32-bit top-down BGRA pixels; None takes the dialog's face colour.
bool DecodeXpm(const char* const* ppXpm, int& rcx, int& rcy, std::vector<std::uint32_t>& rPixels)
{
    int nColours = 0, nChars = 0;
    if (std::sscanf(ppXpm[0], "%d %d %d %d", &rcx, &rcy, &nColours, &nChars) != 4 || nChars != 1 ||
        rcx <= 0 || rcy <= 0)
        return false;
    std::uint32_t aColour[256] = {};
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t dwFace =
        (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face) | 0xFF000000u;
    for (int i = 0; i < nColours; ++i)
    {
        const char* psz = ppXpm[1 + i];
        const unsigned char c = static_cast<unsigned char>(psz[0]);
        const char* pszHash = std::strchr(psz + 1, '#');
        unsigned int rgb = 0;
        aColour[c] =
            pszHash && std::sscanf(pszHash + 1, "%6x", &rgb) == 1 ? (rgb | 0xFF000000u) : dwFace;
    }
    rPixels.assign(static_cast<std::size_t>(rcx) * rcy, dwFace);
    for (int y = 0; y < rcy; ++y)
    {
        const char* pszRow = ppXpm[1 + nColours + y];
        for (int x = 0; x < rcx && pszRow[x] != '\0'; ++x)
            rPixels[static_cast<std::size_t>(y) * rcx + x] =
                aColour[static_cast<unsigned char>(pszRow[x])];
    }
    return true;
}
} // namespace

HBITMAP LoadResBitmap(int nId, UINT nDpi)
{
    const std::vector<CResImage> images = FindResImages(nId);
    const std::optional<CResImage> image = FindResImage(nId, nDpi / 96.0);
    if (!image || image->ppXpm == nullptr || images.empty())
        return nullptr;
    int cx = 0, cy = 0;
    std::vector<std::uint32_t> pixels;
    if (!DecodeXpm(image->ppXpm, cx, cy, pixels))
        return nullptr;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr)
        return nullptr;
    std::memcpy(pBits, pixels.data(), pixels.size() * 4);
    // The picture's size in pixels at this DPI: its 1x size scaled.
    const int cxWant = MulDiv(cx / image->nScale, static_cast<int>(nDpi), 96);
    const int cyWant = MulDiv(cy / image->nScale, static_cast<int>(nDpi), 96);
    if (cxWant == cx && cyWant == cy)
        return hBitmap;
    HBITMAP hScaled = static_cast<HBITMAP>(
        CopyImage(hBitmap, IMAGE_BITMAP, cxWant, cyWant, LR_CREATEDIBSECTION | LR_COPYDELETEORG));
    return hScaled != nullptr ? hScaled : hBitmap;
}
