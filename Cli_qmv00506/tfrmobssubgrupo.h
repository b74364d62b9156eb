#pragma once
// The sub-group observation editor "Observação do Delivery" (RXT02203) on the general routine form:
// a rich-text editor over the observation of the main screen's current sub-group, stored as plain
// text. Built through create(); closing clears its unit's flag. UI thread only.
#include "host/tfrmrotigeral.h"

class QWidget;

namespace qmv {

class DBRichEdit;
class TFormatPanel;

class TfrmObsSubGrupo : public TfrmRotiGeral {
    Q_OBJECT
public:
    static TfrmObsSubGrupo* create(QWidget* parent);

    QWidget* panbot = nullptr;
    TFormatPanel* fpnPreparo = nullptr;
    DBRichEdit* dbrObsSubGrupo = nullptr;

    void FormClose(TCloseAction& action) override;
    // Stores the editor's text, without formatting, as the observation and posts the sub-group
    // (its checks and its sending); a refused post keeps the window open with the text.
    void sbtConfirmaClick() override;
    void FormActivate();
    // Does nothing: the routine form's keyboard handling does not apply to this window.
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;

protected:
    bool event(QEvent* event) override;

private:
    explicit TfrmObsSubGrupo(QWidget* parent);
};

}  // namespace qmv
