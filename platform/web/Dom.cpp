// The calls into the page (dom.js, controls.js, menu.js).
#include "platform/web/Dom.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>

// clang-format off
EM_ASYNC_JS(void, velkor_wait, (int* p), {
    const ev = await VelkorDom.next();
    for (let i = 0; i < 7; ++i) HEAP32[(p >> 2) + i] = ev[i];
});
EM_JS(int, velkor_dialog, (const char* c, int w, int h, int x), {
    return VelkorDom.dialog(UTF8ToString(c), w, h, !!x); });
EM_JS(void, velkor_caption, (int h, const char* c), {
    const d = VelkorDom.els[h]; d._cap.textContent = UTF8ToString(c);
    d.setAttribute("aria-label", UTF8ToString(c)); });
EM_JS(void, velkor_show, (int h, int on, int modal, int oc, int x, int y, int c), {
    VelkorDom.show(h, !!on, !!modal, oc, x, y, !!c); });
EM_JS(void, velkor_remove, (int h), { VelkorDom.remove(h); });
EM_JS(void, velkor_accel, (int h), { VelkorDom.els[h].dataset.accel = "1"; });
EM_JS(int, velkor_control, (int hc, int hd, int k, int id, const char* t, int x, int y, int w,
                            int h, const char* g, int a), {
    return VelkorDom.control(hc, hd, k, id, UTF8ToString(t), x, y, w, h, UTF8ToString(g), a); });
EM_JS(int, velkor_bitmap, (int hc, int x, int y, int w, int h, const unsigned char* p), {
    return VelkorDom.bitmap(hc, x, y, w, h, p); });
EM_JS(int, velkor_item, (int hc, int x, int y, int w, int h, int t), {
    return VelkorDom.item(hc, x, y, w, h, !!t); });
EM_JS(void, velkor_set_text, (int h, const char* t), { VelkorDom.setText(h, UTF8ToString(t)); });
EM_JS(char*, velkor_get_text, (int h), { return allocateUTF8(VelkorDom.getText(h)); });
EM_JS(void, velkor_check, (int h, int on), { VelkorDom.check(h, !!on); });
EM_JS(int, velkor_checked, (int h), { return VelkorDom.checked(h) ? 1 : 0; });
EM_JS(void, velkor_visible, (int h, int on), { VelkorDom.box(h).hidden = !on; });
EM_JS(int, velkor_is_visible, (int h), { return VelkorDom.box(h).hidden ? 0 : 1; });
EM_JS(void, velkor_enable, (int h, int on), {
    const el = VelkorDom.els[h]; el.disabled = !on; VelkorDom.box(h).classList.toggle("disabled", !on); });
EM_JS(int, velkor_is_enabled, (int h), { return VelkorDom.els[h].disabled ? 0 : 1; });
EM_JS(void, velkor_attr, (int h, const char* n, const char* v), {
    VelkorDom.els[h].setAttribute(UTF8ToString(n), UTF8ToString(v)); });
EM_JS(void, velkor_tabindex, (int h, int i), { VelkorDom.els[h].tabIndex = i; });
EM_JS(void, velkor_focus, (int h), { VelkorDom.els[h].focus(); });
EM_JS(int, velkor_has_focus, (int h), { return document.activeElement === VelkorDom.els[h] ? 1 : 0; });
EM_JS(void, velkor_rect, (int h, int* p), {
    const r = VelkorDom.rect(h); for (let i = 0; i < 4; ++i) HEAP32[(p >> 2) + i] = r[i]; });
EM_JS(void, velkor_move, (int h, int x, int y, int w, int hh), {
    const b = VelkorDom.box(h);
    Object.assign(b.style, {left: x + "px", top: y + "px", width: w + "px", height: hh + "px"}); });
EM_JS(void, velkor_insert_after, (int h, int a), {
    VelkorDom.box(a).after(VelkorDom.box(h)); });
EM_JS(int, velkor_at, (int hc, int x, int y), { return VelkorDom.at(hc, x, y); });
EM_JS(int, velkor_add_option, (int h, const char* t), {
    const s = VelkorDom.els[h]; s.add(new Option(UTF8ToString(t)));
    if (s.size <= 1 && s.options.length === 1) s.selectedIndex = -1;
    return s.options.length - 1; });
EM_JS(void, velkor_clear_options, (int h), { VelkorDom.els[h].length = 0; });
EM_JS(int, velkor_option_count, (int h), { return VelkorDom.els[h].options.length; });
EM_JS(int, velkor_selected, (int h), { return VelkorDom.els[h].selectedIndex; });
EM_JS(void, velkor_select, (int h, int i), { VelkorDom.els[h].selectedIndex = i; });
EM_JS(char*, velkor_option_text, (int h, int i), {
    const o = VelkorDom.els[h].options[i]; return allocateUTF8(o ? o.text : ""); });
EM_JS(int, velkor_dialog_of, (int h), {
    const el = VelkorDom.els[h]; const d = el && el.closest(".dlg"); return d ? d._h : 0; });
EM_JS(int, velkor_focus_in, (int hd), {
    const a = document.activeElement, d = VelkorDom.els[hd];
    return a && a._h && d && d.contains(a) ? a._h : 0; });
EM_JS(int, velkor_control_id, (int h), { return +VelkorDom.els[h].dataset.id; });
EM_JS(int, velkor_set_option_data, (int h, int i, int v), {
    const o = VelkorDom.els[h].options[i]; if (!o) return 0; o._data = v; return 1; });
EM_JS(int, velkor_option_data, (int h, int i), {
    const o = VelkorDom.els[h].options[i]; return o && o._data ? o._data : 0; });
EM_JS(int, velkor_canvas, (int hc), { return VelkorDom.canvas(hc); });
EM_JS(void, velkor_line, (int h, int a, int b, int c, int d), { VelkorDom.line(h, a, b, c, d); });
EM_JS(int, velkor_menubar, (int hd), { return VelkorDom.menubar(hd); });
EM_JS(int, velkor_popup, (int hb, const char* t), { return VelkorDom.popup(hb, UTF8ToString(t)); });
EM_JS(int, velkor_menuitem, (int hp, const char* t, int id), {
    return VelkorDom.menuitem(hp, UTF8ToString(t), id); });
EM_JS(void, velkor_check_item, (int h, int on), { VelkorDom.checkItem(h, !!on); });
EM_JS(void, velkor_message, (const char* c, const char* t, int i, int yn), {
    VelkorDom.message(UTF8ToString(c), UTF8ToString(t), i, !!yn); });
EM_JS(void, velkor_file_dialog, (int o, const char* c, const char* n, const char* f, int i,
                                 const char* a), {
    VelkorDom.fileDialog(!!o, UTF8ToString(c), UTF8ToString(n), UTF8ToString(f), i, UTF8ToString(a)); });
EM_JS(char*, velkor_chosen, (), { return allocateUTF8(VelkorDom.chosen); });
EM_JS(char*, velkor_folder, (), { return allocateUTF8(VelkorDom.dir); });
EM_JS(void, velkor_downloads, (), { VelkorDom.downloads(); });
// clang-format on

namespace
{
std::string Take(char* psz)
{
    std::string str(psz ? psz : "");
    std::free(psz);
    return str;
}
} // namespace

namespace WebDom
{
Event WaitEvent()
{
    Event ev{};
    velkor_wait(&ev.nKind);
    return ev;
}
int Dialog(const std::string& strCaption, int cx, int cy, bool bCloseBox)
{
    return velkor_dialog(strCaption.c_str(), cx, cy, bCloseBox);
}
void SetCaption(int nDialog, const std::string& strCaption)
{
    velkor_caption(nDialog, strCaption.c_str());
}
void Show(int nDialog, bool bShow, bool bModal, int nOwnerClient, int x, int y, bool bCenter)
{
    velkor_show(nDialog, bShow, bModal, nOwnerClient, x, y, bCenter);
}
void Remove(int nHandle)
{
    velkor_remove(nHandle);
}
void SetAccelerated(int nDialog)
{
    velkor_accel(nDialog);
}
int Control(int nClient, int nDialog, int nKind, int nId, const std::string& strText, int x, int y,
            int cx, int cy, const std::string& strGroup, int nAlign)
{
    return velkor_control(nClient, nDialog, nKind, nId, strText.c_str(), x, y, cx, cy,
                          strGroup.c_str(), nAlign);
}
int Bitmap(int nClient, int x, int y, int cx, int cy, const unsigned char* pRgba)
{
    return velkor_bitmap(nClient, x, y, cx, cy, pRgba);
}
int Item(int nClient, int x, int y, int cx, int cy, bool bTabStop)
{
    return velkor_item(nClient, x, y, cx, cy, bTabStop);
}
void SetText(int nHandle, const std::string& strText)
{
    velkor_set_text(nHandle, strText.c_str());
}
std::string GetText(int nHandle)
{
    return Take(velkor_get_text(nHandle));
}
void SetChecked(int nHandle, bool bChecked)
{
    velkor_check(nHandle, bChecked);
}
bool IsChecked(int nHandle)
{
    return velkor_checked(nHandle) != 0;
}
void SetVisible(int nHandle, bool bVisible)
{
    velkor_visible(nHandle, bVisible);
}
bool IsVisible(int nHandle)
{
    return velkor_is_visible(nHandle) != 0;
}
void SetEnabled(int nHandle, bool bEnabled)
{
    velkor_enable(nHandle, bEnabled);
}
bool IsEnabled(int nHandle)
{
    return velkor_is_enabled(nHandle) != 0;
}
void SetAttribute(int nHandle, const char* pszName, const std::string& strValue)
{
    velkor_attr(nHandle, pszName, strValue.c_str());
}
void SetTabIndex(int nHandle, int nIndex)
{
    velkor_tabindex(nHandle, nIndex);
}
void Focus(int nHandle)
{
    velkor_focus(nHandle);
}
bool HasFocus(int nHandle)
{
    return velkor_has_focus(nHandle) != 0;
}
void GetRect(int nHandle, int* pRect)
{
    velkor_rect(nHandle, pRect);
}
void Move(int nHandle, int x, int y, int cx, int cy)
{
    velkor_move(nHandle, x, y, cx, cy);
}
void InsertAfter(int nHandle, int nAfter)
{
    velkor_insert_after(nHandle, nAfter);
}
int At(int nClient, int x, int y)
{
    return velkor_at(nClient, x, y);
}
int AddOption(int nSelect, const std::string& strText)
{
    return velkor_add_option(nSelect, strText.c_str());
}
void ClearOptions(int nSelect)
{
    velkor_clear_options(nSelect);
}
int OptionCount(int nSelect)
{
    return velkor_option_count(nSelect);
}
int Selected(int nSelect)
{
    return velkor_selected(nSelect);
}
void Select(int nSelect, int nIndex)
{
    velkor_select(nSelect, nIndex);
}
std::string OptionText(int nSelect, int nIndex)
{
    return Take(velkor_option_text(nSelect, nIndex));
}
int DialogOf(int nHandle)
{
    return velkor_dialog_of(nHandle);
}
int FocusIn(int nDialog)
{
    return velkor_focus_in(nDialog);
}
int ControlId(int nHandle)
{
    return velkor_control_id(nHandle);
}
bool SetOptionData(int nSelect, int nIndex, void* pData)
{
    return velkor_set_option_data(nSelect, nIndex,
                                  static_cast<int>(reinterpret_cast<std::intptr_t>(pData))) != 0;
}
void* OptionData(int nSelect, int nIndex)
{
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(velkor_option_data(nSelect, nIndex)));
}
int Canvas(int nClient)
{
    return velkor_canvas(nClient);
}
void Line(int nCanvas, int x0, int y0, int x1, int y1)
{
    velkor_line(nCanvas, x0, y0, x1, y1);
}
int MenuBar(int nDialog)
{
    return velkor_menubar(nDialog);
}
int Popup(int nMenuBar, const std::string& strText)
{
    return velkor_popup(nMenuBar, strText.c_str());
}
int MenuItem(int nPopup, const std::string& strText, int nId)
{
    return velkor_menuitem(nPopup, strText.c_str(), nId);
}
void CheckMenuItem(int nItem, bool bChecked)
{
    velkor_check_item(nItem, bChecked);
}
void MessageBox(const std::string& strCaption, const std::string& strText, int nIcon, bool bYesNo)
{
    velkor_message(strCaption.c_str(), strText.c_str(), nIcon, bYesNo);
}
void FileDialog(bool bOpen, const std::string& strCaption, const std::string& strName,
                const std::string& strFilters, int nIndex, const std::string& strAccept)
{
    velkor_file_dialog(bOpen, strCaption.c_str(), strName.c_str(), strFilters.c_str(), nIndex,
                       strAccept.c_str());
}
std::string Chosen()
{
    return Take(velkor_chosen());
}
std::string Folder()
{
    return Take(velkor_folder());
}
void Downloads()
{
    velkor_downloads();
}
} // namespace WebDom
