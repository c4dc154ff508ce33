// What the parts of the dialog's implementation share.
#pragma once

class QAbstractButton;

inline constexpr const char* s_pszMenuChecked = "afxChecked";
inline constexpr const char* s_pszChoice = "afxChoice";     // the accessible role of a radio button
inline constexpr const char* s_pszPushLike = "afxPushLike"; // a radio button drawn as a push button
inline constexpr const char* s_pszItemRole = "afxItemRole"; // the role of an accessible item
inline constexpr const char* s_pszNoAccessible = "afxNoAccessible"; // left out for screen readers

// Gives a push-like radio button the look of its checked state.
void OnPushLikeToggled(QAbstractButton* pButton);
