// The program's dialog templates and its menu, in dialog units.
#include "res/DialogTemplate.h"
#include "res/resource.h"

#include <array>

namespace
{
// Resource-script style helpers. Every control is visible unless its style
// says otherwise; push buttons, lists and edits are tab stops.
constexpr std::uint32_t VIS = WS_VISIBLE;

DlgItemTemplate PushButton(const char* pszText, int nId, int x, int y, int cx, int cy)
{
    return {CtlClass::Button, BS_PUSHBUTTON | VIS | WS_TABSTOP, nId, pszText, x, y, cx, cy};
}

DlgItemTemplate DefPushButton(const char* pszText, int nId, int x, int y, int cx, int cy)
{
    return {CtlClass::Button, BS_DEFPUSHBUTTON | VIS | WS_TABSTOP, nId, pszText, x, y, cx, cy};
}

DlgItemTemplate GroupBox(const char* pszText, int nId, int x, int y, int cx, int cy,
                         std::uint32_t dwStyle = VIS)
{
    return {CtlClass::Button, BS_GROUPBOX | dwStyle, nId, pszText, x, y, cx, cy};
}

DlgItemTemplate Text(std::uint32_t dwKind, const char* pszText, int nId, int x, int y, int cx,
                     int cy)
{
    return {CtlClass::Static, dwKind | VIS, nId, pszText, x, y, cx, cy};
}

DlgItemTemplate LText(const char* pszText, int nId, int x, int y, int cx, int cy)
{
    return Text(SS_LEFT, pszText, nId, x, y, cx, cy);
}

DlgItemTemplate CText(const char* pszText, int nId, int x, int y, int cx, int cy)
{
    return Text(SS_CENTER, pszText, nId, x, y, cx, cy);
}

DlgItemTemplate RText(const char* pszText, int nId, int x, int y, int cx, int cy)
{
    return Text(SS_RIGHT, pszText, nId, x, y, cx, cy);
}

std::vector<MenuTemplate> BuildMenus()
{
    return {{IDR_MAIN_MENU,
             {{"&File",
               {{"&New", IDM_FILE_NEW},
                {"&Open", IDM_FILE_OPEN},
                {"", 0},
                {"&Save", IDM_FILE_SAVE},
                {"Save &As", IDM_FILE_SAVE_AS},
                {"", 0},
                {"E&xit", IDM_FILE_EXIT}}},
              {"&View",
               {{"&Priority Weights", IDM_VIEW_PRIORITIES},
                {"", 0},
                {"&Summary Results", IDM_VIEW_SUMMARY}}},
              {"&Help", {{"&About Velkor", IDM_HELP_ABOUT}}}}}};
}

DlgTemplate BuildMainDialog()
{
    DlgTemplate dlg{
        IDD_MAIN,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_APPWINDOW,
        "Velkor",
        0,
        0,
        472,
        347,
        IDR_MAIN_MENU,
        {}};
    auto& items = dlg.items;
    items.push_back(GroupBox("Select Category", -1, 7, 7, 89, 213));

    static constexpr std::array<const char*, CATEGORY_BUTTONS> s_apszCategories = {
        "Organization",    "Estimation", "Monitoring",  "Development", "Tools",
        "Company Culture", "Usability",  "Correctness", "Reliability", "Personnel"};
    for (int k = 0; k < CATEGORY_BUTTONS; ++k)
    {
        // One group of automatic radio buttons drawn as push buttons.
        std::uint32_t dwStyle = BS_AUTORADIOBUTTON | BS_PUSHLIKE | VIS;
        if (k == 0)
            dwStyle |= WS_GROUP | WS_TABSTOP;
        items.push_back({CtlClass::Button, dwStyle, IDC_CATEGORY_FIRST + k, s_apszCategories[k], 14,
                         22 + 19 * k, 75, 16});
    }

    // Every answer button starts a group of its own: a click checks it and
    // releases nothing, so the window keeps one answer per row itself.
    for (int r = 0; r < ANSWER_ROWS; ++r)
        for (int j = 0; j < ANSWER_COLUMNS; ++j)
            items.push_back({CtlClass::Button, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | VIS,
                             IDC_ANSWER_FIRST + ANSWER_COLUMNS * r + j, "", 113 + 27 * j,
                             25 + 26 * r, 10, 11});

    // The height is that of the opened list.
    items.push_back({CtlClass::ComboBox, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | VIS,
                     IDC_ESTIMATION_COMBO, "", 113, 24, 118, 97});

    static constexpr std::array<const char*, ANSWER_COLUMNS> s_apszHeadings = {
        "None", "Little", "Some", "Most", "All"};
    for (int j = 0; j < ANSWER_COLUMNS; ++j)
        items.push_back(CText(s_apszHeadings[j], IDC_HEADING_FIRST + j, 108 + 27 * j, 7, 20, 13));
    for (int r = 0; r < ANSWER_ROWS; ++r)
        items.push_back(LText("Static", IDC_QUESTION_FIRST + r, 240, 25 + 26 * r, 225, 21));

    items.push_back(GroupBox("Category Success %", -1, 7, 226, 89, 32));
    items.push_back(CText("Static", IDC_CATEGORY_SUCCESS, 17, 239, 67, 14));
    items.push_back(GroupBox("Priority Weights", -1, 7, 265, 89, 70));
    items.push_back(LText("Static", IDC_PRIORITY_WEIGHTS, 17, 281, 66, 48));
    return dlg;
}

DlgTemplate BuildPriorityDialog()
{
    DlgTemplate dlg{IDD_PRIORITY,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE,
                    "Priorities",
                    0,
                    0,
                    236,
                    143,
                    0,
                    {}};
    auto& items = dlg.items;
    DlgItemTemplate eyeball{CtlClass::Static, SS_BITMAP | VIS, IDC_EYEBALL, "", 72, 70, 19, 17};
    eyeball.nImage = IDB_EYEBALL;
    items.push_back(eyeball);
    items.push_back(DefPushButton("OK", IDOK, 179, 7, 50, 14));
    items.push_back(PushButton("Cancel", IDCANCEL, 179, 53, 50, 14));
    items.push_back(LText("Technical", IDC_TECHNICAL_LABEL, 59, 7, 77, 10));
    items.push_back(LText("Cost", IDC_COST_LABEL, 13, 126, 101, 10));
    items.push_back(LText("Schedule", IDC_SCHEDULE_LABEL, 121, 126, 94, 10));
    items.push_back(PushButton("&Default", IDC_DEFAULT, 179, 30, 50, 14));
    // Never shown: its rectangle defines the triangle.
    items.push_back(GroupBox("", IDC_TRIANGLE_FRAME, 25, 23, 111, 92, 0));
    items.push_back(
        LText("Click and drag eyeball to set the relative priorities.", -1, 179, 86, 50, 50));
    return dlg;
}

DlgTemplate BuildSummaryDialog()
{
    // Not visible when created; placed at the owner's client origin.
    DlgTemplate dlg{IDD_SUMMARY,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME,
                    "Velkor Summary",
                    0,
                    0,
                    401,
                    138,
                    0,
                    {}};
    auto& items = dlg.items;
    items.push_back(DefPushButton("Hide Summary", IDOK, 167, 111, 66, 20));
    // Three columns, each a group box with right-aligned names and the values
    // beside them.
    static const struct
    {
        const char* pszTitle;
        int x, cx;
        const char* pszNames;
        int xNames, cxNames;
        int nValues, xValues, cxValues, cy;
    } s_aColumns[] = {
        {"Project Success Probability", 7, 127,
         "Total Project Prob\n\nTechnical Prob\nCost Prob\nSchedule Prob\n\n"
         "Process Prob\nProduct Prob",
         17, 64, IDC_PROJECT_COLUMN, 91, 31, 69},
        {"Probability By Phase", 145, 120,
         "Pre-requirements\nRequirements\n\nDesign\nCoding\nTesting\n\nMaintenance", 151, 66,
         IDC_PHASE_COLUMN, 229, 30, 70},
        {"Probability By Risk Mgmt Activity", 274, 120,
         "Risk Identification\n\nPlanning\nAssessment\nMitigation\n\nReporting\nPrediction", 280,
         66, IDC_ACTIVITY_COLUMN, 355, 30, 70}};
    for (const auto& c : s_aColumns)
    {
        items.push_back(GroupBox(c.pszTitle, -1, c.x, 7, c.cx, 93));
        items.push_back(RText(c.pszNames, -1, c.xNames, 23, c.cxNames, c.cy));
        items.push_back(LText("Static", c.nValues, c.xValues, 23, c.cxValues, c.cy));
    }
    return dlg;
}

DlgTemplate BuildAboutDialog()
{
    DlgTemplate dlg{
        IDD_ABOUT, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE,
        "About ",  0,
        0,         259,
        231,       0,
        {}};
    auto& items = dlg.items;
    items.push_back(LText("File Version:", -1, 34, 7, 39, 10));
    items.push_back(LText("", IDC_FILE_VERSION, 77, 7, 58, 10));
    items.push_back(LText("", IDC_PRERELEASE, 144, 7, 108, 10));
    items.push_back(LText("Copyright:", -1, 34, 21, 39, 10));
    items.push_back(LText("", IDC_COPYRIGHT, 77, 21, 175, 10));
    items.push_back(LText("Description:", -1, 34, 35, 39, 10));
    items.push_back(Text(SS_LEFTNOWORDWRAP, "", IDC_DESCRIPTION, 77, 35, 175, 10));
    items.push_back(GroupBox("Other Version Information", -1, 15, 53, 226, 139));
    items.push_back(LText("Item name:", -1, 24, 71, 52, 9));
    items.push_back({CtlClass::ListBox, LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP | VIS, IDC_ITEM_LIST,
                     "", 24, 81, 74, 88});
    items.push_back(LText("Value:", -1, 110, 71, 65, 9));
    items.push_back({CtlClass::Edit, ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP | VIS,
                     IDC_ITEM_VALUE, "", 111, 81, 118, 88});
    items.push_back(CText("", IDC_DEBUG, 51, 175, 156, 9));
    items.push_back(DefPushButton("OK", IDOK, 103, 203, 50, 14));
    return dlg;
}
} // namespace

const DlgTemplate* FindDialogTemplate(int nId)
{
    static const std::array<DlgTemplate, 4> s_aTemplates = {
        BuildMainDialog(), BuildPriorityDialog(), BuildSummaryDialog(), BuildAboutDialog()};
    for (const DlgTemplate& dlg : s_aTemplates)
        if (dlg.nId == nId)
            return &dlg;
    return nullptr;
}

const MenuTemplate* FindMenuTemplate(int nId)
{
    static const std::vector<MenuTemplate> s_aMenus = BuildMenus();
    for (const MenuTemplate& menu : s_aMenus)
        if (menu.nId == nId)
            return &menu;
    return nullptr;
}
