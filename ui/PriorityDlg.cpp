#include "ui/PriorityDlg.h"

#include "model/Format.h"
#include "model/RiskModel.h"

#include <cmath>
#include <cstdlib>

namespace
{
// Distances between points of the client area, truncated toward zero.
int Distance(CPoint a, CPoint b)
{
    const int dx = std::abs(a.x - b.x);
    const int dy = std::abs(a.y - b.y);
    return static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
}
} // namespace

CPriorityDlg::CPriorityDlg(CDialog* pParent) : CDialog(IDD_PRIORITY, pParent) {}

CPriorityDlg::~CPriorityDlg() = default;

void CPriorityDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EYEBALL, m_wndEyeball);
    DDX_Text(pDX, IDC_COST_LABEL, m_strCostLabel);
    DDX_Text(pDX, IDC_SCHEDULE_LABEL, m_strScheduleLabel);
    DDX_Text(pDX, IDC_TECHNICAL_LABEL, m_strTechnicalLabel);
}

BOOL CPriorityDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bDragging = 0;
    ComputeGeometry();
    CreateAccessibleTriangle();
    PlaceEyeball();
    AddArrowKeys();
    UpdateData(FALSE);
    return TRUE;
}

void CPriorityDlg::ComputeGeometry()
{
    // The hidden frame's bottom edge carries the triangle; its top plays no part.
    const CRect rcFrame = GetDlgItem(IDC_TRIANGLE_FRAME)->GetWindowRect();
    m_nSide = rcFrame.Width();
    const int nHalf = m_nSide / 2;
    m_nHeight = static_cast<std::int32_t>(
        std::sqrt(static_cast<double>(m_nSide * m_nSide - nHalf * nHalf)));
    m_ptCostVertex = {rcFrame.left, rcFrame.bottom};
    m_ptScheduleVertex = {rcFrame.right, rcFrame.bottom};
    m_ptTechnicalVertex = {rcFrame.left + nHalf, rcFrame.bottom - m_nHeight};
}

BOOL CPriorityDlg::OnCommand(UINT nID, UINT nCode)
{
    if (nID == IDC_DEFAULT && nCode == BN_CLICKED)
    {
        OnDefault();
        return TRUE;
    }
    return CDialog::OnCommand(nID, nCode);
}

CPoint CPriorityDlg::GetEyeballCentre() const
{
    const CRect rc = m_wndEyeball.GetWindowRect();
    return {rc.left + (rc.right - rc.left) / 2, rc.top + (rc.bottom - rc.top) / 2};
}

void CPriorityDlg::ComputeProximities()
{
    m_ptEye = GetEyeballCentre();
    auto proximity = [this](CPoint ptCorner)
    {
        const int nProximity = m_nSide - Distance(m_ptEye, ptCorner);
        return nProximity < 0 ? 0 : nProximity;
    };
    m_nCostProximity = proximity(m_ptCostVertex);
    m_nTechnicalProximity = proximity(m_ptTechnicalVertex);
    m_nScheduleProximity = proximity(m_ptScheduleVertex);
}

void CPriorityDlg::ComputePriorities()
{
    const int nSum = m_nTechnicalProximity + m_nCostProximity + m_nScheduleProximity;
    if (nSum <= 0)
        return; // only outside the drag area, where the eyeball never goes
    const double dSum = nSum;
    m_dTechnicalPriority = m_nTechnicalProximity / dSum;
    m_dCostPriority = m_nCostProximity / dSum;
    m_dSchedulePriority = m_nScheduleProximity / dSum;
}

double CPriorityDlg::DistanceFromPriority(double dPriority) const
{
    return m_nSide * (1.0 - dPriority);
}

void CPriorityDlg::PlaceEyeball()
{
    // The point above the base at distance dC from the Cost corner and dS
    // from the Schedule corner; the technical weight plays no part.
    const double dCost = DistanceFromPriority(m_dCostPriority);
    const double dSchedule = DistanceFromPriority(m_dSchedulePriority);
    const double dSide = m_nSide;
    const CPoint ptOrigin = m_ptCostVertex;
    const bool bFinite = std::isfinite(m_dTechnicalPriority) && std::isfinite(m_dCostPriority) &&
                         std::isfinite(m_dSchedulePriority);
    double dx = 0.0;
    double dy = 0.0;
    if (dCost != 0.0)
    {
        double a = (dSchedule * dSchedule - dCost * dCost - dSide * dSide) / (2 * dSide * dCost);
        // Distances that do not meet (cost and schedule adding up to more
        // than 1, or rounding) take the nearest angle.
        if (a < -1.0)
            a = -1.0;
        else if (a > 1.0)
            a = 1.0;
        const double phi = std::acos(a);
        dx = std::fabs(dCost * std::cos(phi));
        dy = std::fabs(dCost * std::sin(phi));
    }
    // A cost weight of 1 is the Cost corner itself (dx = dy = 0 above).
    // Weights that are not numbers, or that put the eyeball where it could
    // not be dragged, leave it where "Default" puts it; the weights stay.
    const bool bUsable = bFinite && std::isfinite(dx) && std::isfinite(dy) && dx <= m_nSide + 1.0 &&
                         dy <= m_nHeight + 1.0;
    if (bUsable)
        MoveEyeball(ptOrigin.x + static_cast<int>(dx), ptOrigin.y - static_cast<int>(dy));
    else
        MoveEyeball(m_ptCostVertex.x + m_nSide / 2, m_ptCostVertex.y - m_nHeight / 2);
    UpdateLabels();
}

void CPriorityDlg::UpdateLabels()
{
    m_strCostLabel = FormatNumbers("Cost  %.0f%%", {m_dCostPriority * 100.0});
    m_strTechnicalLabel = FormatNumbers("Technical  %.0f%%", {m_dTechnicalPriority * 100.0});
    m_strScheduleLabel = FormatNumbers("Schedule  %.0f%%", {m_dSchedulePriority * 100.0});
    UpdateData(FALSE);
    // A screen reader hears the new weights after every move.
    if (m_pTriangle != nullptr)
        m_pTriangle->SetAccessibleDescription(FormatNumbers(
            "Technical %.0f %%, Cost %.0f %%, Schedule %.0f %%",
            {m_dTechnicalPriority * 100.0, m_dCostPriority * 100.0, m_dSchedulePriority * 100.0}));
}

void CPriorityDlg::CreateAccessibleTriangle()
{
    // The drag area, as one control that Tab reaches after the buttons; the
    // arrow keys move the eyeball whichever control has the focus.
    m_pTriangle = CreateAccessibleItem(IDC_TRIANGLE,
                                       {m_ptCostVertex.x - 1, m_ptTechnicalVertex.y - 1,
                                        m_ptScheduleVertex.x + 2, m_ptCostVertex.y + 2},
                                       TRUE);
    m_pTriangle->SetAccessibleName("Priority weights");
    m_wndEyeball.SetAccessibleHidden(); // the triangle speaks for it
    // The hint, the one text of the dialog without an id, tells of the keys too.
    const DlgTemplate* pTpl = FindDialogTemplate(IDD_PRIORITY);
    for (std::size_t i = 0; pTpl != nullptr && i < pTpl->items.size(); ++i)
    {
        const DlgItemTemplate& item = pTpl->items[i];
        if (item.cls != CtlClass::Static || item.nId != -1)
            continue;
        const CRect rc = MapDialogRect(item.x, item.y, item.cx, item.cy);
        CWnd wndHint = ChildWindowFromPoint({rc.left + 1, rc.top + 1});
        if (wndHint.m_hWnd != nullptr)
            wndHint.SetAccessibleDescription(
                "Or move it with the arrow keys, ten pixels at a time with Shift.");
    }
}

void CPriorityDlg::MoveEyeball(int x, int y)
{
    const CRect rc = m_wndEyeball.GetWindowRect();
    const int cx = rc.Width();
    const int cy = rc.Height();
    m_wndEyeball.MoveWindow(x - cx / 2, y - cy / 2, cx, cy, TRUE);
    m_ptEye = {x, y};
}

bool CPriorityDlg::InDragArea(CPoint point) const
{
    return point.x >= m_ptCostVertex.x - 1 && point.x <= m_ptScheduleVertex.x + 1 &&
           point.y >= m_ptTechnicalVertex.y - 1 && point.y <= m_ptCostVertex.y + 1;
}

void CPriorityDlg::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    const CRect rc = m_wndEyeball.GetWindowRect();
    m_bDragging =
        rc.left < point.x && point.x < rc.right && rc.top < point.y && point.y < rc.bottom;
}

void CPriorityDlg::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/)
{
    m_bDragging = 0;
}

void CPriorityDlg::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    // The button state is not consulted: a release that was not seen keeps
    // the drag going until the next press or release.
    if (!m_bDragging || !InDragArea(point))
        return;
    MoveEyeball(point.x, point.y);
    ComputeProximities();
    ComputePriorities();
    UpdateLabels();
}

void CPriorityDlg::NudgeEyeball(int dx, int dy)
{
    const CPoint ptCentre = GetEyeballCentre();
    const CPoint point{ptCentre.x + dx, ptCentre.y + dy};
    if (!InDragArea(point))
        return;
    MoveEyeball(point.x, point.y);
    ComputeProximities();
    ComputePriorities();
    UpdateLabels();
}

void CPriorityDlg::AddArrowKeys()
{
    // Keys of the whole dialog, so the arrows move the eyeball whichever
    // button has the focus (a button would otherwise take them for itself).
    const struct
    {
        UINT nVirtKey;
        int dx;
        int dy;
    } aArrows[] = {{VK_LEFT, -1, 0}, {VK_RIGHT, 1, 0}, {VK_UP, 0, -1}, {VK_DOWN, 0, 1}};
    for (const auto& arrow : aArrows)
        for (int nStep : {1, 10})
            AddAccelerator(arrow.nVirtKey, nStep == 1 ? 0 : FSHIFT,
                           [this, dx = arrow.dx * nStep, dy = arrow.dy * nStep]
                           { NudgeEyeball(dx, dy); });
}

void CPriorityDlg::OnPaint()
{
    CPaintDC dc(this);
    dc.MoveTo(m_ptCostVertex.x, m_ptCostVertex.y);
    dc.LineTo(m_ptTechnicalVertex.x, m_ptTechnicalVertex.y);
    dc.LineTo(m_ptScheduleVertex.x, m_ptScheduleVertex.y);
    dc.LineTo(m_ptCostVertex.x, m_ptCostVertex.y);
}

void CPriorityDlg::OnDefault()
{
    m_dTechnicalPriority = DEFAULT_WEIGHT;
    m_dCostPriority = DEFAULT_WEIGHT;
    m_dSchedulePriority = DEFAULT_WEIGHT;
    // Halfway up the axis; the weights are not recomputed from there.
    MoveEyeball(m_ptCostVertex.x + m_nSide / 2, m_ptCostVertex.y - m_nHeight / 2);
    UpdateLabels();
}
