// Message boxes with a test seam: a test queues the answers of the next
// boxes and reads back what they would have shown.
#pragma once

#include "platform/Afx.h"

#include <deque>
#include <string>
#include <vector>

// Buttons.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_TYPEMASK = 0x000F;
// Icons.
constexpr UINT MB_ICONHAND = 0x0010;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr UINT MB_ICONMASK = 0x00F0;

class CMessageBox
{
public:
    struct Shown
    {
        std::string strText;
        std::string strCaption;
        UINT nType;
    };

    // Shows a box (or answers it from the seam) and returns IDOK, IDCANCEL,
    // IDYES or IDNO.
    static int Show(const std::string& strText, const std::string& strCaption, UINT nType);

    // Seam. Answers are used in order, one per box; with none queued a box is
    // shown for real, unless SetNonInteractive(true): then it answers 0 at once.
    static void SetNextAnswer(int nAnswer) { s_answers.push_back(nAnswer); }
    static void SetNonInteractive(bool bOn) { s_bNonInteractive = bOn; }
    static const std::vector<Shown>& GetShown() { return s_shown; }
    static int GetCount() { return static_cast<int>(s_shown.size()); }
    static const std::string& GetLastText() { return Last().strText; }
    static const std::string& GetLastCaption() { return Last().strCaption; }
    static UINT GetLastType() { return Last().nType; }
    // Forgets what was shown and any answers still queued.
    static void Reset()
    {
        s_answers.clear();
        s_shown.clear();
    }

private:
    static const Shown& Last();
    static inline std::deque<int> s_answers;
    static inline std::vector<Shown> s_shown;
    static inline bool s_bNonInteractive = false;
};

// A box with the application's title as caption.
int AfxMessageBox(const std::string& strText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
