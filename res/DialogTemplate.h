// Dialog templates and menus as constant tables in dialog units.
//
// The style words keep the classic bit values so that a template reads like
// a resource script. The platform layer turns a template into widgets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Window styles shared by dialogs and controls.
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
constexpr std::uint32_t WS_DISABLED = 0x08000000u;
constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
constexpr std::uint32_t WS_VSCROLL = 0x00200000u;
constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
constexpr std::uint32_t WS_GROUP = 0x00020000u;       // a control that starts a group
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u; // same bit, on a dialog
constexpr std::uint32_t WS_TABSTOP = 0x00010000u;

// Dialog styles.
constexpr std::uint32_t DS_MODALFRAME = 0x0080u;
constexpr std::uint32_t DS_CENTER = 0x0800u;
constexpr std::uint32_t DS_APPWINDOW = 0x00040000u; // own task-bar button

// Button styles: the low four bits are the kind.
constexpr std::uint32_t BS_TYPEMASK = 0x000Fu;
constexpr std::uint32_t BS_PUSHBUTTON = 0x0000u;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001u;
constexpr std::uint32_t BS_GROUPBOX = 0x0007u;
constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x0009u;
constexpr std::uint32_t BS_PUSHLIKE = 0x1000u;

// Static styles: the low five bits are the kind.
constexpr std::uint32_t SS_TYPEMASK = 0x001Fu;
constexpr std::uint32_t SS_LEFT = 0x0000u;
constexpr std::uint32_t SS_CENTER = 0x0001u;
constexpr std::uint32_t SS_RIGHT = 0x0002u;
constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0x000Cu;
constexpr std::uint32_t SS_BITMAP = 0x000Eu;

// Combo box, list box and edit styles.
constexpr std::uint32_t CBS_DROPDOWNLIST = 0x0003u;
constexpr std::uint32_t LBS_NOTIFY = 0x0001u;
constexpr std::uint32_t LBS_SORT = 0x0002u;
constexpr std::uint32_t ES_MULTILINE = 0x0004u;
constexpr std::uint32_t ES_READONLY = 0x0800u;

enum class CtlClass
{
    Button,
    Static,
    ComboBox,
    ListBox,
    Edit,
};

// One control. Rectangle in dialog units; for a bitmap static nImage is the
// bitmap id and the control takes the bitmap's size.
struct DlgItemTemplate
{
    CtlClass cls;
    std::uint32_t dwStyle;
    int nId; // -1 for a control the program never addresses
    std::string strText;
    int x, y, cx, cy;
    int nImage = 0;
};

struct DlgTemplate
{
    int nId;
    std::uint32_t dwStyle;
    std::string strCaption;
    int x, y, cx, cy;
    int nMenu; // menu id, 0 for none
    std::vector<DlgItemTemplate> items;
};

// A menu bar: pop-ups holding items; nCommand 0 is a separator.
struct MenuItemTemplate
{
    std::string strText;
    int nCommand;
};

struct MenuPopupTemplate
{
    std::string strText;
    std::vector<MenuItemTemplate> items;
};

struct MenuTemplate
{
    int nId;
    std::vector<MenuPopupTemplate> popups;
};

// Null for an unknown id.
const DlgTemplate* FindDialogTemplate(int nId);
const MenuTemplate* FindMenuTemplate(int nId);
