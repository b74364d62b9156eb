#include "host/tdbdateeditplus.h"

#include <QPalette>

#include "host/menserro.h"
#include "platform/wallclock.h"
#include "platform/widgetaction.h"

namespace qmv {

namespace {

const QString dateFormat = QStringLiteral("dd/MM/yyyy");

QString digitsOf(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (c.isDigit())
            digits += c;
    return digits;
}

}  // namespace

TDBDateEditPlus::TDBDateEditPlus(QWidget* parent, const QString& name)
    : MaskEdit(parent)
    , link_(this, [this] { refresh(); })
    , weekDays_{QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"),
                QStringLiteral("Quarta"), QStringLiteral("Quinta"), QStringLiteral("Sexta"),
                QStringLiteral("Sábado")}
{
    link_.setQuiet([this] { return writing_; });
    setObjectName(name);
    setInputMask(QStringLiteral("99/99/9999; "));
    connect(this, &QLineEdit::textEdited, this, &TDBDateEditPlus::onEdited);
    connect(this, &QLineEdit::textChanged, this, &TDBDateEditPlus::paintValidity);
}

void TDBDateEditPlus::setDataSource(DataSource* source)
{
    link_.setDataSource(source);
}

void TDBDateEditPlus::setDataField(const QString& fieldName)
{
    link_.setDataField(fieldName);
}

Field* TDBDateEditPlus::field() const
{
    return link_.field();
}

void TDBDateEditPlus::refresh()
{
    const Field* f = field();
    QDate date;
    if (f && f->dataSet().isActive() && !f->isNull())
        date = f->asDateTime().date();
    const QString shown = date.isValid() ? date.toString(dateFormat) : QString();
    if (digitsOf(text()) != digitsOf(shown))
        setText(shown);
}

bool TDBDateEditPlus::isBlank() const
{
    return digitsOf(text()).isEmpty();
}

QDate TDBDateEditPlus::GetDate() const
{
    return QDate::fromString(text(), dateFormat);
}

void TDBDateEditPlus::SetDate(const QDate& date)
{
    setText(date.isValid() ? date.toString(dateFormat) : QString());
    const Field* f = field();
    if (f && (f->dataSet().state() == DataSetState::Edit || f->dataSet().state() == DataSetState::Insert))
        writeField();
}

void TDBDateEditPlus::CheckValidDate() const
{
    if (isBlank() || GetDate().isValid())
        return;
    MensErro(QStringLiteral("\"%1\" não é uma data válida.").arg(text().trimmed()), true);
}

QString TDBDateEditPlus::dayName() const
{
    const QDate date = GetDate();
    if (!date.isValid() || weekDays_.size() < 7)
        return {};
    return weekDays_[date.dayOfWeek() % 7];  // Sunday (7) first
}

void TDBDateEditPlus::setValidDateColor(const QColor& color)
{
    validColor_ = color;
    paintValidity();
}

void TDBDateEditPlus::paintValidity()
{
    QPalette p = palette();
    p.setColor(QPalette::Text, GetDate().isValid() ? validColor_ : QPalette().color(QPalette::Text));
    setPalette(p);
}

void TDBDateEditPlus::writeField()
{
    Field* f = field();
    if (!f)
        return;
    writing_ = true;
    try {
        if (isBlank())
            f->clear();
        else if (GetDate().isValid())
            f->setAsDateTime(wallClock(GetDate()));
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void TDBDateEditPlus::onEdited()
{
    Field* f = field();
    if (!f || !f->dataSet().isActive())
        return;
    DataSet& ds = f->dataSet();
    if (ds.state() == DataSetState::Browse) {
        writing_ = true;
        const bool editing = runWidgetAction([&] { ds.edit(); });
        writing_ = false;
        if (!editing) {
            refresh();
            return;
        }
    }
    runWidgetAction([this] { writeField(); });
}

void TDBDateEditPlus::focusOutEvent(QFocusEvent* event)
{
    MaskEdit::focusOutEvent(event);
    const Field* f = field();
    if (f && (f->dataSet().state() == DataSetState::Edit || f->dataSet().state() == DataSetState::Insert))
        runWidgetAction([this] { writeField(); });
}

}  // namespace qmv
