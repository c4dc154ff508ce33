// The questionnaire window: one category page at a time, the menu, the
// caption and the unsaved-changes confirmation.
#pragma once

#include "model/RiskModel.h"
#include "platform/Dialog.h"

#include <cstdint>
#include <string>

class CSummaryDlg;

// Private messages of the main window; both carry 0 in both parameters.
constexpr UINT WM_STARTUP = WM_USER + 1;        // posted to itself after OnInitDialog
constexpr UINT WM_SUMMARY_CLOSED = WM_USER + 2; // sent by the summary window as it hides

class CMainDlg : public CDialog
{
public:
    CMainDlg();
    ~CMainDlg() override;

    // Operations the File, View and Help commands use.
    void UpdateTitle();
    void RefreshSummary();
    BOOL ConfirmDiscard();
    void ShowCategory(std::uint32_t dwMask);
    void UpdatePriorityText();

    CComboBox m_comboEstimation;
    HICON m_hIcon;
    std::string m_strCategorySuccess;
    std::string m_strPriorityWeights;
    std::string m_strFileTitle;
    std::string m_strFilePath;
    std::uint32_t m_dwCategory = 0;
    CRiskModel m_model;
    CQuestion* m_apRowQuestion[ANSWER_ROWS] = {};
    CSummaryDlg* m_pSummary = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    // Enter and Escape do nothing; the close box and Exit ask first.
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

    // Questionnaire.
    void OnStartup();
    void OnAnswerClicked(UINT nID);
    void OnEstimationChanged();
    void UpdateCategorySuccess();
    void OnSummaryClosed();

    // Menu commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExit();
    void OnViewPriorities();
    void OnViewSummary();
    void OnHelpAbout();

    // The project file.
    void LoadProject(const char* pszPath);
    void SaveProject(const char* pszPath);

private:
    // Presses the Organization button and posts its click, so the page is
    // built after the current handler has returned.
    void PostFirstPage();
    // Where the file dialogs start: the current project's folder, else that
    // of the last file opened or saved in this run (empty before the first).
    std::string FileDialogFolder() const;
    void RememberFolder(const std::string& strPath);
    std::string m_strLastFolder;
};
