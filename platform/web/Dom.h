// The page's side as the C++ side calls it: elements by number (0: none).
#pragma once

#include <string>

namespace WebDom
{
// The event the message loop waits for, as the page queued it.
struct Event
{
    int nKind; // 1 command, 2 close box, 3 mouse, 4 arrow key, 5 message box, 6 file dialog
    int nDialog;
    int nId;   // command id; mouse: 0 down, 1 up, 2 move
    int nCode; // notification; key: virtual key; box: result; file: 1 chosen
    int x;     // mouse position; key: 1 with Shift
    int y;
    int nFlags;
};
Event WaitEvent();

int Dialog(const std::string& strCaption, int cx, int cy, bool bCloseBox);
void SetCaption(int nDialog, const std::string& strCaption);
void Show(int nDialog, bool bShow, bool bModal, int nOwnerClient, int x, int y, bool bCenter);
void Remove(int nHandle);
void SetAccelerated(int nDialog);

int Control(int nClient, int nDialog, int nKind, int nId, const std::string& strText, int x, int y,
            int cx, int cy, const std::string& strGroup, int nAlign);
int Bitmap(int nClient, int x, int y, int cx, int cy, const unsigned char* pRgba);
int Item(int nClient, int x, int y, int cx, int cy, bool bTabStop);
void SetText(int nHandle, const std::string& strText);
std::string GetText(int nHandle);
void SetChecked(int nHandle, bool bChecked);
bool IsChecked(int nHandle);
void SetVisible(int nHandle, bool bVisible);
bool IsVisible(int nHandle);
void SetEnabled(int nHandle, bool bEnabled);
bool IsEnabled(int nHandle);
void SetAttribute(int nHandle, const char* pszName, const std::string& strValue);
void SetTabIndex(int nHandle, int nIndex);
void Focus(int nHandle);
bool HasFocus(int nHandle);
void GetRect(int nHandle, int* pRect); // left, top, width, height
void Move(int nHandle, int x, int y, int cx, int cy);
void InsertAfter(int nHandle, int nAfter);
int At(int nClient, int x, int y);
int DialogOf(int nHandle);
int FocusIn(int nDialog); // the focused element of the dialog, 0 for none
int ControlId(int nHandle);

int AddOption(int nSelect, const std::string& strText);
void ClearOptions(int nSelect);
int OptionCount(int nSelect);
int Selected(int nSelect);
void Select(int nSelect, int nIndex);
std::string OptionText(int nSelect, int nIndex);
bool SetOptionData(int nSelect, int nIndex, void* pData);
void* OptionData(int nSelect, int nIndex);

int Canvas(int nClient);
void Line(int nCanvas, int x0, int y0, int x1, int y1);

int MenuBar(int nDialog);
int Popup(int nMenuBar, const std::string& strText);
int MenuItem(int nPopup, const std::string& strText, int nId);
void CheckMenuItem(int nItem, bool bChecked);

void MessageBox(const std::string& strCaption, const std::string& strText, int nIcon, bool bYesNo);
void FileDialog(bool bOpen, const std::string& strCaption, const std::string& strName,
                const std::string& strFilters, int nIndex, const std::string& strAccept);
std::string Chosen();
std::string Folder();
void Downloads();
} // namespace WebDom
