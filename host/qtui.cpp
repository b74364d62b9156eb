#include "host/qtui.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <algorithm>

#include "host/busywindow.h"
#include "host/finddialog.h"
#include "host/keyrepeatguard.h"
#include "host/searchlistdialog.h"

namespace qmv {

namespace {

QString boxTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Atenção") : name;
}

// The window manager writes the title in its own bold font beside an icon and three buttons, each
// about as wide as the title bar is high: a box sized for a short text would cut its title.
void makeRoomForTitle(QMessageBox& box)
{
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(std::max(font.pointSizeF(), 10.0));
    const QFontMetrics metrics(font);
    const int titleBar = metrics.height() + 8;
    const int needed = metrics.horizontalAdvance(box.windowTitle()) + 6 * titleBar;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(needed - margins.left() - margins.right(), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// A message box shown from a key handler, with the key perhaps still held: see KeyRepeatGuard.
void runBox(QMessageBox& box)
{
    makeRoomForTitle(box);
    auto* guard = new KeyRepeatGuard;
    box.exec();
    guard->boxClosed();
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

QtUi::~QtUi()
{
    while (cursor_ == CursorShape::Wait && QApplication::overrideCursor())
        setCursor(CursorShape::Default);
}

// The busy window goes first: it stays on top and would cover what now waits for the person.
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

void QtUi::showError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, boxTitle(), text, QMessageBox::Ok, dialogParent());
    runBox(box);
}

void QtUi::showInfo(const QString& text)
{
    QMessageBox box(QMessageBox::Information, boxTitle(), text, QMessageBox::Ok, dialogParent());
    runBox(box);
}

bool QtUi::askYesNo(const QString& text, DefaultButton byDefault)
{
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    box.setDefaultButton(byDefault == DefaultButton::Yes ? yes : no);
    box.setEscapeButton(no);
    runBox(box);
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
    runBox(box);
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

namespace {

// Qt's dialog has no read-only box, and the host has no help for file dialogs: those two options
// need nothing here.
QString runFileDialog(QWidget* parent, const FileDialogSpec& asked, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, asked.title);
    dialog.setAcceptMode(mode);
    const QStringList filters = qtFileFilter(asked.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dialog.setNameFilters(filters);
    if (asked.filterIndex >= 1 && asked.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[asked.filterIndex - 1]);
    QString suffix = asked.defaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    const bool mustExist = mode == QFileDialog::AcceptOpen && asked.options.testFlag(FileOption::FileMustExist);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !asked.options.testFlag(FileOption::OverwritePrompt));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString path = dialog.selectedFiles().constFirst();
        if (!asked.options.testFlag(FileOption::PathMustExist) || QFileInfo(path).dir().exists())
            return path;
        QMessageBox::warning(&dialog, asked.title, QStringLiteral("A pasta %1 não existe.")
                                                      .arg(QFileInfo(path).absolutePath()));
    }
}

}  // namespace

QString QtUi::openFile(const FileDialogSpec& dialog)
{
    return runFileDialog(dialogParent(), dialog, QFileDialog::AcceptOpen);
}

QString QtUi::saveFile(const FileDialogSpec& dialog)
{
    return runFileDialog(dialogParent(), dialog, QFileDialog::AcceptSave);
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
