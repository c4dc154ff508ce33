// What the parts of the dialog's implementation share.
#pragma once

class QAbstractButton;

inline constexpr const char* s_pszMenuChecked = "afxChecked";
inline constexpr const char* s_pszChoice = "afxChoice"; // the accessible role of a radio button

// Gives a push-like radio button the look of its checked state.
void OnPushLikeToggled(QAbstractButton* pButton);
