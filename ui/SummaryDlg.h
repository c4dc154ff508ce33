// The summary window: 18 of the success probabilities as percentages in
// three columns (project, life-cycle phase, risk-management activity).
// Modeless; it tells the main window when it hides and is then destroyed.
#pragma once

#include "platform/Dialog.h"

#include <string>
#include <vector>

class CSummaryDlg : public CDialog
{
public:
    explicit CSummaryDlg(CDialog* pParent = nullptr);
    ~CSummaryDlg() override;

    // Each takes a probability (normally 0..1), keeps it as a percentage
    // and rebuilds all three columns.
    void SetTotal(double dValue);
    void SetTechnical(double dValue);
    void SetCost(double dValue);
    void SetSchedule(double dValue);
    void SetProcess(double dValue);
    void SetProduct(double dValue);
    void SetPreRequirements(double dValue);
    void SetRequirements(double dValue);
    void SetDesign(double dValue);
    void SetCoding(double dValue);
    void SetTesting(double dValue);
    void SetMaintenance(double dValue);
    void SetIdentification(double dValue);
    void SetPlanning(double dValue);
    void SetAssessment(double dValue);
    void SetMitigation(double dValue);
    void SetReporting(double dValue);
    void SetPrediction(double dValue);
    void UpdateColumns();

    std::string m_strProjectColumn;
    std::string m_strPhaseColumn;
    std::string m_strActivityColumn;
    double m_dTotal = 0.0;
    double m_dCost = 0.0;
    double m_dProcess = 0.0;
    double m_dProduct = 0.0;
    double m_dSchedule = 0.0;
    double m_dTechnical = 0.0;
    double m_dPreRequirements = 0.0;
    double m_dRequirements = 0.0;
    double m_dDesign = 0.0;
    double m_dCoding = 0.0;
    double m_dTesting = 0.0;
    double m_dMaintenance = 0.0;
    double m_dIdentification = 0.0;
    double m_dPlanning = 0.0;
    double m_dAssessment = 0.0;
    double m_dMitigation = 0.0;
    double m_dReporting = 0.0;
    double m_dPrediction = 0.0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }
    // "Hide Summary" (and Enter), Escape and the close box (through the
    // Cancel click) all hide the window.
    void OnOK() override;
    void OnCancel() override;

private:
    void SetValue(double& rField, double dValue);
    // Tells the main window first (sent, so it forgets this window before
    // it hides), hides, and has the window destroyed once the current
    // message is done: a hidden summary window is never shown again.
    void Hide(int nResult);

    // For screen readers the two texts of a column are one item per shown
    // probability, named with its value ("Total Project Prob 56.2%"), over its
    // line; the columns themselves are left out. Each item follows its value.
    void CreateAccessibleItems();
    void UpdateAccessibleItems();
    struct AccessibleItem
    {
        CWnd* pWnd;
        std::string strName; // the label's line
        int nColumn;         // the id of the value column
        int nLine;
        std::string strShown; // the accessible name last set
    };
    std::vector<AccessibleItem> m_aItems;

    bool m_bHidden = false;
};
