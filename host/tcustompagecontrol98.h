#pragma once
// TCustomPageControl98: the base forms' page control. A page (sheet) enabled or disabled through
// setEnabled enables or disables its tab; SetActivePage changes the page from code without
// emitting Change, which only a person's choice of a tab emits. A page that goes out of view with
// the focus in it hands the focus to the tab bar, and from there to the page coming into view,
// so the focus never wanders to a control elsewhere in the window. UI thread only.
#include <QTabWidget>

namespace qmv {

class TCustomPageControl98 : public QTabWidget {
    Q_OBJECT
public:
    explicit TCustomPageControl98(QWidget* parent = nullptr, const QString& name = QString());

    // Adds a sheet (its objectName is its name) with a caption; returns it for chaining.
    QWidget* addSheet(QWidget* sheet, const QString& caption);

    void SetActivePage(QWidget* sheet);
    QWidget* ActivePage() const { return currentWidget(); }

signals:
    void Change(QObject* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncTab(QWidget* sheet);
    void keepFocusInside();
    void keepFocusOnPages(QWidget* leaving);
    bool fromCode_ = false;
};

}  // namespace qmv
