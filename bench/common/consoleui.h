#pragma once
// The UI seam of a benchmark: failures and notices go to standard error, questions are answered
// "no", lists and dialogs are dismissed; nothing waits for a person. Main thread only.
#include <cstdio>

#include "host/ui.h"

namespace qmv::bench {

class ConsoleUi : public Ui {
public:
    void showError(const QString& text) override { std::fprintf(stderr, "erro: %s\n", qPrintable(text)); }
    void showInfo(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool askYesNo(const QString&, DefaultButton = DefaultButton::Yes) override { return false; }
    Answer askYesNoCancel(const QString&) override { return Answer::Cancel; }
    QString openFile(const FileDialogSpec&) override { return {}; }
    QString saveFile(const FileDialogSpec&) override { return {}; }
    bool searchList(DataSource&, const QString&) override { return false; }
    QStringList searchListMany(DataSource&, const QString&, const QStringList&) override { return {}; }
    bool findRecord(DataSet&) override { return false; }
    int showModal(QWidget&) override { return 0; }
    void setCursor(CursorShape) override {}
    CursorShape cursor() const override { return CursorShape::Default; }
    void showBusy(QWidget*, int) override {}
    void hideBusy() override {}
};

}  // namespace qmv::bench
