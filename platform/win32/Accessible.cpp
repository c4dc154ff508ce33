// Accessible names and descriptions of controls: annotations kept by the
// system's accessibility service, which screen readers read for the control.
#include "platform/Dialog.h"

#include "platform/win32/Windows.h"

#include <initguid.h>

#include <oleacc.h>

namespace
{
void Annotate(HWND hWnd, const MSAAPROPID& idProp, const std::string& strText)
{
    static IAccPropServices* s_pServices = []
    {
        IAccPropServices* pServices = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&pServices))))
            pServices = nullptr;
        return pServices; // kept for the program's lifetime
    }();
    if (s_pServices != nullptr && hWnd != nullptr)
        s_pServices->SetHwndPropStr(hWnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, idProp,
                                    Utf8ToWide(strText).c_str());
}
} // namespace

void CWnd::SetAccessibleHidden()
{
    static IAccPropServices* s_pServices = nullptr;
    if (s_pServices == nullptr &&
        FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&s_pServices))))
        s_pServices = nullptr;
    if (s_pServices == nullptr || m_hWnd == nullptr)
        return;
    VARIANT state;
    VariantInit(&state);
    state.vt = VT_I4;
    state.lVal = STATE_SYSTEM_INVISIBLE;
    s_pServices->SetHwndProp(m_hWnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_STATE, state);
}

void CWnd::SetAccessibleName(const std::string& strName)
{
    Annotate(m_hWnd, PROPID_ACC_NAME, strName);
}

void CWnd::SetAccessibleDescription(const std::string& strText)
{
    Annotate(m_hWnd, PROPID_ACC_DESCRIPTION, strText);
}
