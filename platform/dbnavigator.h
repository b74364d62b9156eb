#pragma once
// A navigator over a data source: first, prior, next, last and, when shown, insert, delete, edit,
// post, cancel and refresh, each enabled by the dataset's position and state. Actions run through
// the widget guard, so a refusing dataset handler ends only that click. UI thread only.
#include <QPointer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>

#include "platform/datasource.h"

namespace qmv {


enum class NavigateButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

class DBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit DBNavigator(QWidget* parent = nullptr, const QString& name = QString());

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }

    void setVisibleButtons(const QList<NavigateButton>& buttons);
    QToolButton* button(NavigateButton which) const;
    void BtnClick(NavigateButton which);

    // Asked before a deletion; without it the deletion is not asked about.
    std::function<bool()> confirmDelete;
    // Runs for refresh (the dataset has no source of its own to reread).
    std::function<void()> onRefresh;

private:
    void updateButtons();
    void act(NavigateButton which);

    QPointer<DataSource> source_;
    std::array<QToolButton*, 10> buttons_{};
};

}  // namespace qmv
