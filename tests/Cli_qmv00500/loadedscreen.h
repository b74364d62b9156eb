#pragma once
// The main screen with a service loaded, as every page's tests start: the real application server
// on a seeded database, the key CIA1 / 1 / 1.01.001 typed and the panel left, so the sub-groups
// S1, S2, S3 are in the grid; every call is also recorded (the log starts empty after the load).
// The person's moves on the pages and the grid are helpers here. Test thread only.
#include <QStringList>

#include "Cli_qmv00500/selectionscreen.h"
#include "support/qtprinters.h"

namespace qmv::test {

class LoadedScreen {
public:
    LoadedScreen();

    TfrmFotoMontManual& form() const { return screen_.form(); }
    ScriptedUi& ui() { return screen_.ui(); }
    RecordingTransport& transport() const { return screen_.transport(); }
    appserver::test::TestDatabase& database() const { return screen_.database(); }

    // The calls made since the last take, as canonical texts; the log starts again.
    QStringList takeCalls();

    // A person choosing a tab of the main or the inner page control.
    void choosePage(QWidget& page);
    void chooseInnerPage(QWidget& page);
    // A person moving the grid's cursor to a row (0-based) of the sub-group grid.
    void goToRow(int row);
    // A person typing a value into a cell of the sub-group grid's current row and leaving the cell.
    void typeInCell(const QString& field, const QString& text);

    // What the server now holds for a sub-group of the loaded service (S1, S2, S3).
    QVariant stored(const QString& subGroup, const QString& column) const;

private:
    SelectionScreen screen_{SelectionScreen::Server::RealRecorded};
};

}  // namespace qmv::test
