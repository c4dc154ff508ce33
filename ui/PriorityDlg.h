// The priority weights dialog: the user drags an eyeball inside a triangle
// whose corners stand for the technical (top), cost (bottom left) and
// schedule (bottom right) priorities; the closer the eyeball is to a corner,
// the larger that priority.
#pragma once

#include "platform/Dialog.h"

#include <cstdint>
#include <string>

class CPriorityDlg : public CDialog
{
public:
    explicit CPriorityDlg(CDialog* pParent = nullptr);
    ~CPriorityDlg() override;

    CPoint GetEyeballCentre() const;
    // Proximity: the side minus the distance from the eyeball centre to a
    // corner, never below 0. The weights are the proximities' shares.
    void ComputeProximities();
    void ComputePriorities();
    double DistanceFromPriority(double dPriority) const;
    void PlaceEyeball();
    void UpdateLabels();

    CStatic m_wndEyeball;
    std::string m_strCostLabel;
    std::string m_strScheduleLabel;
    std::string m_strTechnicalLabel;
    // The dialog's result; the caller assigns all three before running it.
    double m_dTechnicalPriority = 0.0;
    double m_dCostPriority = 0.0;
    double m_dSchedulePriority = 0.0;
    std::int32_t m_nHeight = 0;
    std::int32_t m_nSide = 0;
    std::int32_t m_nScheduleProximity = 0;
    std::int32_t m_nTechnicalProximity = 0;
    std::int32_t m_nCostProximity = 0;
    CPoint m_ptScheduleVertex{};
    CPoint m_ptTechnicalVertex{};
    CPoint m_ptCostVertex{};
    std::int32_t m_bDragging = 0;
    CPoint m_ptEye{};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnPaint() override;
    void OnDefault();
    // The arrow keys move the eyeball as a drag does (Shift: ten pixels), so
    // the priorities can be set without a mouse.
    void NudgeEyeball(int dx, int dy);
    void AddArrowKeys();

private:
    // The triangle's bounding rectangle grown by one pixel on each side.
    bool InDragArea(CPoint point) const;
    // Moves the eyeball control, with repainting, so that its centre is (x, y).
    void MoveEyeball(int x, int y);
    void ComputeGeometry();
    // The triangle for screen readers: named, its value text the three weights.
    void CreateAccessibleTriangle();
    CWnd* m_pTriangle = nullptr;
};
