#pragma once
// TBtnPesquisa: the lookup button beside a code edit. A click runs BeforePesq (which may stop it),
// then, with a data source, shows EmptyError when the source has no rows, or the search list over
// its visible fields; when a row is picked it is current, AfterPesq runs and the focus goes to
// Associate. Copying the picked values is AfterPesq's work. Without a data source it is a
// plain button for its click handler. Its handlers run through the host guard. The button never
// takes the focus, and its own move of the focus to Associate is no leaving of the control that
// had it (exit handlers ask movingFocus()). UI thread only.
#include <QPointer>
#include <QToolButton>
#include <functional>

#include "platform/datasource.h"

namespace qmv {

class TBtnPesquisa : public QToolButton {
    Q_OBJECT
public:
    explicit TBtnPesquisa(QWidget* parent = nullptr, const QString& name = QString());

    QWidget* Associate() const { return associate_; }
    void setAssociate(QWidget* edit) { associate_ = edit; }
    QString Title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    DataSource* dataSource() const { return source_; }
    void setDataSource(DataSource* source) { source_ = source; }
    QString EmptyError() const { return emptyError_; }
    void setEmptyError(const QString& text) { emptyError_ = text; }

    std::function<void(QObject* sender, bool& proceed)> BeforePesq;
    std::function<void(QObject* sender)> AfterPesq;

    // What a click does, without the guard (for callers that want its exceptions).
    void Pesquisa();

    // True while a lookup button puts the focus on its Associate after a pick.
    static bool movingFocus();

private:
    QPointer<QWidget> associate_;
    QPointer<DataSource> source_;
    QString title_;
    QString emptyError_;
};

}  // namespace qmv
