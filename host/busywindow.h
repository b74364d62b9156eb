#pragma once
// The busy indicator window: a small frameless window with a running bar and a caption that
// depends on the kind of work (0 connecting, 1 sending changes, 6 loading data, others waiting).
// Painted at once on show, since the calls it covers are synchronous. UI thread only.
#include <QWidget>

class QLabel;

namespace qmv {

class BusyWindow : public QWidget {
    Q_OBJECT
public:
    explicit BusyWindow(QWidget* parent = nullptr);

    void showFor(QWidget* mainWindow, int kind);
    static QString captionFor(int kind);

private:
    QLabel* caption_;
};

}  // namespace qmv
