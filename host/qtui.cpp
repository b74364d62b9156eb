#include "host/qtui.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "host/busywindow.h"
#include "host/finddialog.h"
#include "host/searchlistdialog.h"

namespace qmv {

namespace {

QString boxTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Atenção") : name;
}

// Ends a local event loop once the watched window is hidden (a close its handler refuses keeps it).
class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget& form, QEventLoop& loop) : loop_(loop) { form.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            loop_.quit();
        return false;
    }

private:
    QEventLoop& loop_;
};

}  // namespace

QString qtFileFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

QtUi::QtUi() = default;

QWidget* QtUi::dialogParent()
{
    if (busy_)
        busy_->hide();
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    if (!parent || parent == busy_.get())
        parent = busyOwner_;
    return parent;
}
QtUi::~QtUi()
{
    while (cursor_ == CursorShape::Wait && QApplication::overrideCursor())
        setCursor(CursorShape::Default);
}

void QtUi::showError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, boxTitle(), text, QMessageBox::Ok, dialogParent());
    box.exec();
}

void QtUi::showInfo(const QString& text)
{
    QMessageBox box(QMessageBox::Information, boxTitle(), text, QMessageBox::Ok, dialogParent());
    box.exec();
}

bool QtUi::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

Answer QtUi::askYesNoCancel(const QString& text)
{
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

QString QtUi::openFileName(const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), title, QString(), qtFileFilter(filter));
}

QString QtUi::saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(dialogParent(), title, QString(), qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtUi::searchList(DataSource& source, const QString& title)
{
    SearchListDialog dialog(source, title, SearchListDialog::Single, dialogParent());
    return dialog.exec() == QDialog::Accepted && dialog.positionOnPick();
}

QStringList QtUi::searchListMany(DataSource& source, const QString& field, const QStringList& titles)
{
    SearchListDialog dialog(source, titles.value(0), SearchListDialog::Many, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.pickedValues(field);
}

bool QtUi::findRecord(DataSet& dataSet)
{
    FindDialog dialog(dataSet, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

int QtUi::showModal(QWidget& form)
{
    if (auto* dialog = qobject_cast<QDialog*>(&form))
        return dialog->exec();
    QPointer<QWidget> guardForm(&form);
    const Qt::WindowModality before = form.windowModality();
    form.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    CloseWatcher watcher(form, loop);
    form.show();
    loop.exec(QEventLoop::DialogExec);
    if (guardForm)
        guardForm->setWindowModality(before);
    return 0;
}

void QtUi::setCursor(CursorShape shape)
{
    if (shape == cursor_)
        return;
    if (shape == CursorShape::Wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    cursor_ = shape;
}

CursorShape QtUi::cursor() const
{
    return cursor_;
}

void QtUi::showBusy(QWidget* mainWindow, int kind)
{
    busyOwner_ = mainWindow;
    if (!busy_)
        busy_ = std::make_unique<BusyWindow>();
    busy_->showFor(mainWindow, kind);
}

void QtUi::hideBusy()
{
    if (busy_)
        busy_->hide();
}

}  // namespace qmv
