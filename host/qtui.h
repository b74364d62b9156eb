#pragma once
// The UI seam on real Qt windows: message boxes answered "Sim"/"Não", file dialogs, the search-list
// and find dialogs, modal forms, the override cursor and the busy window. Every window that waits
// for a person first hides the busy window, which would otherwise stay on top of it, and belongs
// to the window the person was working in. Message boxes carry the application's display name.
// UI thread only.
#include <QPointer>
#include <memory>

#include "host/ui.h"

namespace qmv {

class BusyWindow;

class QtUi : public Ui {
public:
    QtUi();
    ~QtUi() override;

    void showError(const QString& text) override;
    void showInfo(const QString& text) override;
    bool askYesNo(const QString& text, DefaultButton byDefault = DefaultButton::Yes) override;
    Answer askYesNoCancel(const QString& text) override;

    QString openFile(const FileDialogSpec& dialog) override;
    QString saveFile(const FileDialogSpec& dialog) override;

    bool searchList(DataSource& source, const QString& title) override;
    QStringList searchListMany(DataSource& source, const QString& field,
                               const QStringList& titles) override;
    bool findRecord(DataSet& dataSet) override;

    int showModal(QWidget& form) override;

    void setCursor(CursorShape shape) override;
    CursorShape cursor() const override;
    void showBusy(QWidget* mainWindow, int kind) override;
    void hideBusy() override;

private:
    QWidget* dialogParent();

    CursorShape cursor_ = CursorShape::Default;
    QPointer<QWidget> busyOwner_;
    std::unique_ptr<BusyWindow> busy_;
};

// "Imagens (*.jpg *.bmp)|*.jpg;*.bmp|Todos|*.*" (description|patterns pairs) in Qt's notation;
// a filter already in Qt's notation passes unchanged.
QString qtFileFilter(const QString& filter);

}  // namespace qmv
