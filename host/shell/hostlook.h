#pragma once
// The look every window of the host shares: the application's display name (the title of its
// message boxes), Brazilian Portuguese for Qt's own texts (file dialogs, standard buttons) from
// Qt's installed translations, the interface font and style. The screens' column widths and
// captions are laid out for this font at 96 dpi. Call once, after the QApplication exists. UI
// thread only.
class QFont;

namespace qmv {

inline constexpr const char* hostDisplayName = "Produção de Refeições";

// Returns false when Qt's pt_BR translations are not installed (the texts then stay in English).
bool applyHostLook();

QFont hostFont();

}  // namespace qmv
