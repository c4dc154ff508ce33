#include "ui/AboutDlg.h"

#include "files/Path.h"
#include "version/VersionInfo.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

// The list's items in display order; the list is not sorted.
constexpr const char* kItemNames[] = {"Language",         "CompanyName",     "ProductName",
                                      "ProductVersion",   "LegalTrademarks", "InternalName",
                                      "OriginalFilename", "Comments"};

} // namespace

CAboutDlg::CAboutDlg(const char* pszFileName, const char* pszDisplayName, CDialog* pParent)
    : CDialog(IDD_ABOUT, pParent)
{
    m_szModulePath = pszFileName != nullptr ? std::string(pszFileName) : GetOwnExecutablePath();
    m_szTitle = "About ";
    m_szTitle +=
        pszDisplayName != nullptr ? std::string(pszDisplayName) : GetFileName(m_szModulePath);
}

// The version block is released with the dialog (m_pVersionData).
CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ITEM_LIST, m_lbItems);
    DDX_Text(pDX, IDC_COPYRIGHT, m_strCopyright);
    DDX_Text(pDX, IDC_DESCRIPTION, m_strDescription);
    DDX_Text(pDX, IDC_FILE_VERSION, m_strFileVersion);
    DDX_Text(pDX, IDC_ITEM_VALUE, m_strValue);
    DDX_Text(pDX, IDC_PRERELEASE, m_strPreRelease);
    DDX_Text(pDX, IDC_DEBUG, m_strDebug);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A second run of the same object starts from the eight names again.
    m_lbItems.ResetContent();
    for (const char* pszName : kItemNames)
        m_lbItems.AddString(pszName);
    if (!m_bVersionLoaded)
        m_bVersionLoaded = LoadVersionInfo();
    SetWindowText(m_szTitle);
    UpdateData(FALSE);
    FillItemValues();
    return TRUE;
}

BOOL CAboutDlg::OnCommand(UINT nID, UINT nCode)
{
    if (nID == IDC_ITEM_LIST && nCode == LBN_SELCHANGE)
    {
        ShowSelectedValue();
        return TRUE;
    }
    return CDialog::OnCommand(nID, nCode);
}

int CAboutDlg::LoadVersionInfo()
{
    if (m_bVersionLoaded)
        return 1;
    std::uint32_t dwHandle = 0;
    const std::uint32_t dwSize = GetFileVersionInfoSizeA(m_szModulePath.c_str(), &dwHandle);
    if (dwSize == 0)
        return 0;
    m_pVersionData = std::make_unique<std::uint32_t[]>((dwSize + 3) / 4);
    if (!GetFileVersionInfoA(m_szModulePath.c_str(), dwHandle, dwSize, m_pVersionData.get()))
    {
        // The file changed between the two calls: treat it as having none.
        m_pVersionData.reset();
        return 0;
    }

    void* pValue = nullptr;
    unsigned uLen = 0;
    // Only a complete fixed part with its signature is trusted; a shorter
    // value would be read past its end.
    if (VerQueryValueA(m_pVersionData.get(), "\\", &pValue, &uLen) &&
        uLen >= sizeof(VS_FIXEDFILEINFO))
    {
        VS_FIXEDFILEINFO info;
        std::memcpy(&info, pValue, sizeof info);
        if (info.dwSignature == VS_FFI_SIGNATURE)
            m_dwFileFlags = info.dwFileFlags & info.dwFileFlagsMask;
    }

    std::uint16_t awTranslation[2];
    if (!VerQueryValueA(m_pVersionData.get(), "\\VarFileInfo\\Translation", &pValue, &uLen) ||
        uLen < sizeof awTranslation || (m_dwFileFlags & VS_FF_INFOINFERRED))
        return 0;
    std::memcpy(awTranslation, pValue, sizeof awTranslation);
    std::snprintf(m_szStringPrefix, sizeof m_szStringPrefix, "\\StringFileInfo\\%04X%04X\\",
                  unsigned{awTranslation[0]}, unsigned{awTranslation[1]});

    char szLanguage[sizeof m_szLanguage];
    if (VerLanguageNameA(awTranslation[0], szLanguage, sizeof szLanguage) != 0)
        std::memcpy(m_szLanguage, szLanguage, sizeof m_szLanguage);

    m_strPreRelease = (m_dwFileFlags & VS_FF_PRERELEASE) ? "Pre-Release version" : "";
    m_strDebug = (m_dwFileFlags & VS_FF_DEBUG) ? "Debug version" : "";

    const struct
    {
        const char* pszName;
        std::string* pstrField;
    } fixedItems[] = {{"FileVersion", &m_strFileVersion},
                      {"FileDescription", &m_strDescription},
                      {"LegalCopyright", &m_strCopyright}};
    for (const auto& item : fixedItems)
        if (VerQueryValueA(m_pVersionData.get(),
                           (std::string(m_szStringPrefix) + item.pszName).c_str(), &pValue, &uLen))
            *item.pstrField = static_cast<const char*>(pValue);
    return 1;
}

void CAboutDlg::FillItemValues()
{
    if (m_dwFileFlags & VS_FF_PRIVATEBUILD)
        m_lbItems.AddString("PrivateBuild");
    if (m_dwFileFlags & VS_FF_SPECIALBUILD)
        m_lbItems.AddString("SpecialBuild");

    m_lbItems.SetItemDataPtr(0, m_szLanguage);
    for (int i = 1; i < m_lbItems.GetCount(); ++i)
    {
        void* pValue = nullptr;
        unsigned uLen = 0;
        const std::string strQuery = m_szStringPrefix + m_lbItems.GetText(i);
        if (!m_bVersionLoaded ||
            !VerQueryValueA(m_pVersionData.get(), strQuery.c_str(), &pValue, &uLen))
            pValue = nullptr;
        m_lbItems.SetItemDataPtr(i, pValue);
    }
    m_lbItems.SetCurSel(m_lbItems.GetCount() - 1);
    ShowSelectedValue();
}

void CAboutDlg::ShowSelectedValue()
{
    if (!m_bVersionLoaded)
        return;
    const int nSelected = m_lbItems.GetCurSel();
    const char* pszValue = nSelected != LB_ERR
                               ? static_cast<const char*>(m_lbItems.GetItemDataPtr(nSelected))
                               : nullptr;
    GetDlgItem(IDC_ITEM_VALUE)->EnableWindow(pszValue != nullptr);
    m_strValue = pszValue != nullptr ? pszValue : "[none]";
    UpdateData(FALSE);
}
