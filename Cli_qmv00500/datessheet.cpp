#include "Cli_qmv00500/datessheet.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "host/fieldexit.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "host/tcustompagecontrol98.h"
#include "host/tdbdateeditplus.h"
#include "host/tmessages.h"
#include "lookup/selectionpanel.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbedit.h"
#include "platform/wallclock.h"
#include "server/catalogue.h"
#include "server/loadresult.h"

namespace qmv {

namespace {

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

void greyBox(QWidget* box)
{
    box->setEnabled(false);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));  // clBtnFace
    box->setPalette(palette);
}

}  // namespace

DatesSheet::DatesSheet(QWidget& sheet, const Screen& screen, QObject* parent)
    : QObject(parent), screen_(screen), sheet_(sheet)
{
    cdsSubGruPrin_ = new DataSet(this);
    cdsSubGruPrin_->setObjectName(QStringLiteral("cdsSubGruPrin"));
    cdsSubGruPrin_->addField({QStringLiteral("CDSUBARV"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsSubGruPrin_->addField({QStringLiteral("DSSUBGRU"), FieldKind::Text, 200, QStringLiteral("Descrição")});
    cdsSubGruPrin_->addField({QStringLiteral("CDSUBGRU"), FieldKind::Text, 10, {}, false});
    dtsSubGruPrin_ = new DataSource(this);
    dtsSubGruPrin_->setObjectName(QStringLiteral("dtsSubGruPrin"));
    dtsSubGruPrin_->setDataSet(cdsSubGruPrin_);
    buildPrincipal(sheet);
    buildDates(sheet);
    auto* layout = new QVBoxLayout(&sheet);
    layout->addWidget(grbSubGruPri_);
    layout->addWidget(grbDatas_);
    layout->addStretch(1);
    // The dates come first in the tab order, although they sit below the principal sub-group.
    QWidget::setTabOrder(dates_[0].date, dates_[1].date);
    QWidget::setTabOrder(dates_[1].date, dates_[0].weekday);
    QWidget::setTabOrder(dates_[0].weekday, dates_[1].weekday);
    QWidget::setTabOrder(dates_[1].weekday, dates_[2].weekday);
    QWidget::setTabOrder(dates_[2].weekday, dates_[2].date);
    QWidget::setTabOrder(dates_[2].date, dbeCdSubGruPri_);
    QWidget::setTabOrder(dbeCdSubGruPri_, btpSubGruPrin_);
    bind();
}

void DatesSheet::buildPrincipal(QWidget& sheet)
{
    grbSubGruPri_ = new QGroupBox(QStringLiteral("Sub-grupo Principal"), &sheet);
    grbSubGruPri_->setObjectName(QStringLiteral("grbSubGruPri"));
    QFont bold = grbSubGruPri_->font();
    bold.setBold(true);
    grbSubGruPri_->setFont(bold);
    auto* principal = new QHBoxLayout(grbSubGruPri_);
    // Messages about a field name it by the caption the person reads beside it.
    screen_.subGroups.fieldByName(QStringLiteral("CDSUBARVPRI")).setLabel(grbSubGruPri_->title());
    dbeCdSubGruPri_ = new DBEdit(grbSubGruPri_, QStringLiteral("dbeCdSubGruPri"));
    dbeCdSubGruPri_->setDataSource(&screen_.subGroupSource);
    dbeCdSubGruPri_->setDataField(QStringLiteral("CDSUBARVPRI"));
    dbeCdSubGruPri_->setFixedWidth(110);
    btpSubGruPrin_ = new TBtnPesquisa(grbSubGruPri_, QStringLiteral("btpSubGruPrin"));
    btpSubGruPrin_->setToolTip(QStringLiteral("Pesquisar"));
    btpSubGruPrin_->setTitle(QStringLiteral("Sub-grupo"));
    btpSubGruPrin_->setAssociate(dbeCdSubGruPri_);
    btpSubGruPrin_->setDataSource(dtsSubGruPrin_);
    dbeDsSubGruPri_ = new DBEdit(grbSubGruPri_, QStringLiteral("dbeDsSubGruPri"));
    dbeDsSubGruPri_->setDataSource(&screen_.subGroupSource);
    dbeDsSubGruPri_->setDataField(QStringLiteral("DSSUBGRUPRI"));
    greyBox(dbeDsSubGruPri_);
    for (QWidget* control : std::initializer_list<QWidget*>{dbeCdSubGruPri_, btpSubGruPrin_, dbeDsSubGruPri_}) {
        control->setFont(sheet.font());
        principal->addWidget(control);
    }
    principal->setStretch(2, 1);
}

void DatesSheet::buildDates(QWidget& sheet)
{
    grbDatas_ = new QGroupBox(&sheet);
    grbDatas_->setObjectName(QStringLiteral("grbDatas"));
    auto* grid = new QGridLayout(grbDatas_);
    const struct {
        const char* caption;
        const char* date;
        const char* field;
        const char* weekday;
    } rows[] = {{"Apresentação", "depApresent", "DTAPRESUMA", "edtNmDiaApre"},
                {"Efetivação", "depEfetivacao", "DTEFETSUMA", "edtNmDiaEfet"},
                {"Revisão", "depRevisao", "DTREVISUMA", "edtNmDiaRevi"}};
    for (int i = 0; i < 3; ++i) {
        const QString caption = QString::fromUtf8(rows[i].caption);
        auto* edit = new TDBDateEditPlus(grbDatas_, QString::fromLatin1(rows[i].date));
        screen_.subGroups.fieldByName(QLatin1String(rows[i].field)).setLabel(caption);
        edit->setDataSource(&screen_.subGroupSource);
        edit->setDataField(QString::fromLatin1(rows[i].field));
        edit->setValidDateColor(Qt::blue);
        edit->setWeekDays({QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"),
                           QStringLiteral("Quarta"), QStringLiteral("Quinta"), QStringLiteral("Sexta"),
                           QStringLiteral("Sábado")});
        auto* weekday = new QLineEdit(grbDatas_);
        weekday->setObjectName(QString::fromLatin1(rows[i].weekday));
        greyBox(weekday);
        grid->addWidget(boldLabel(caption, grbDatas_), i, 0);
        grid->addWidget(edit, i, 1);
        grid->addWidget(weekday, i, 2);
        dates_[i] = {edit, weekday, rows[i].field};
    }
    grid->setColumnStretch(3, 1);
}

void DatesSheet::bind()
{
    using KeyPress = void (DatesSheet::*)(QKeyEvent&);
    using Handler = void (DatesSheet::*)();
    const std::tuple<KeyPress, Handler, Handler> handlers[] = {
        {&DatesSheet::depApresentKeyPress, &DatesSheet::depApresentExit, &DatesSheet::depApresentChange},
        {&DatesSheet::depEfetivacaoKeyPress, &DatesSheet::depEfetivacaoExit, &DatesSheet::depEfetivacaoChange},
        {&DatesSheet::depRevisaoKeyPress, &DatesSheet::depRevisaoExit, &DatesSheet::depRevisaoChange}};
    for (int i = 0; i < 3; ++i) {
        const auto [keyPress, exitHandler, change] = handlers[i];
        auto* exit = new FieldExit(*dates_[i].date, this);
        exit->onKeyPress = [this, keyPress = keyPress](QKeyEvent& event) { (this->*keyPress)(event); };
        exit->onExit = [this, exitHandler = exitHandler] { (this->*exitHandler)(); };
        connect(dates_[i].date, &QLineEdit::textChanged, this, [this, change = change] { (this->*change)(); });
    }
    btpSubGruPrin_->BeforePesq = [this](QObject* sender, bool& proceed) { btpSubGruPrinBeforePesq(sender, proceed); };
    btpSubGruPrin_->setEmptyError(QStringLiteral("Não há sub-grupo cadastrado para o manual."));
    btpSubGruPrin_->AfterPesq = [this](QObject* sender) { btpSubGruPrinAfterPesq(sender); };
    auto* principal = new FieldExit(*dbeCdSubGruPri_, this);
    principal->onExit = [this] { dbeCdSubGruPriExit(); };
    connect(dbeCdSubGruPri_, &QLineEdit::textEdited, this, [this] { guard([this] { dbeCdSubGruPriChange(); }); });
}

bool DatesSheet::inView() const
{
    return screen_.inner.ActivePage() == &sheet_;
}

void DatesSheet::setCodeMask(const QString& mask)
{
    cdsSubGruPrin_->fieldByName(QStringLiteral("CDSUBARV")).setEditMask(mask);
}

void DatesSheet::checkBeforePost(bool onPhotoPage)
{
    for (const DateRow& row : dates_)
        row.date->CheckValidDate();
    if (onPhotoPage && inView())
        dbeCdSubGruPriExit();
}

void DatesSheet::focusRevisionDate()
{
    dates_[2].date->setFocus();
}

void DatesSheet::clearBlankDates()
{
    for (const DateRow& row : dates_) {
        if (screen_.subGroups.fieldByName(QLatin1String(row.field)).asFloat() != 0)
            continue;
        row.date->SetDate(QDate());
        row.date->setText(QString());
        row.weekday->clear();
    }
}

// The weekday beside each date: cleared by a key in the date, shown on leaving it, and from then
// on following the date as it changes.
void DatesSheet::dateKeyPress(int row)
{
    dates_[row].weekday->clear();
}

void DatesSheet::dateExit(int row)
{
    dates_[row].date->CheckValidDate();
    dates_[row].weekday->setText(NomeSemana(dates_[row].date->GetDate()));
}

void DatesSheet::dateChange(int row)
{
    if (!dates_[row].weekday->text().isEmpty())
        dates_[row].weekday->setText(NomeSemana(dates_[row].date->GetDate()));
}

// The candidates for the principal sub-group of the current one; an empty code lists them all.
// The key is the loaded one: the service list's current row may have moved since the load.
void DatesSheet::loadPrincipals(const QString& code)
{
    const SelectionKey& key = screen_.selection.key();
    const QString subGroup = screen_.subGroups.fieldByName(QStringLiteral("CDSUBGRU")).asString();
    loadResult(*cdsSubGruPrin_,
               GetSubGruPrin(screen_.connection, screen_.selection.rows().medFilial->text(), key.company,
                             key.manual, key.service, key.classCode, key.cycle, subGroup, code));
}

void DatesSheet::copyPrincipal()
{
    DataSet& record = screen_.subGroups;
    record.edit();
    record.fieldByName(QStringLiteral("CDSUBARVPRI")).setValue(cdsSubGruPrin_->fieldByName(QStringLiteral("CDSUBARV")).value());
    record.fieldByName(QStringLiteral("CDPRODUTOPRI")).setValue(cdsSubGruPrin_->fieldByName(QStringLiteral("CDSUBGRU")).value());
    record.fieldByName(QStringLiteral("DSSUBGRUPRI")).setValue(cdsSubGruPrin_->fieldByName(QStringLiteral("DSSUBGRU")).value());
}

void DatesSheet::btpSubGruPrinBeforePesq(QObject*, bool&)
{
    loadPrincipals(QString());
}

void DatesSheet::btpSubGruPrinAfterPesq(QObject*)
{
    copyPrincipal();
}

// A code typed over another, or emptied, no longer names the principal that was chosen: its
// description and internal code go, so the new code is looked up on leaving the box.
void DatesSheet::dbeCdSubGruPriChange()
{
    const DataSetState state = screen_.subGroups.state();
    if (state != DataSetState::Edit && state != DataSetState::Insert)
        return;
    screen_.subGroups.fieldByName(QStringLiteral("DSSUBGRUPRI")).clear();
    screen_.subGroups.fieldByName(QStringLiteral("CDPRODUTOPRI")).clear();
}

void DatesSheet::dbeCdSubGruPriExit()
{
    const QString code = screen_.subGroups.fieldByName(QStringLiteral("CDSUBARVPRI")).asString();
    if (EmptyString(code) || !EmptyString(dbeDsSubGruPri_->text()))
        return;
    loadPrincipals(code);
    if (cdsSubGruPrin_->isEmpty()) {
        dbeCdSubGruPri_->setFocus();
        MensErro(screen_.messages.Msg(QStringLiteral("Sub_Inv")), true);
    }
    copyPrincipal();
}

// Field by field, dates already present are kept. The date rules stay off only while the copy
// runs, whatever it meets.
void DatesSheet::CopiaDatas()
{
    if (!inView() || screen_.subGroups.recNo() != 1 || dates_[0].date->isBlank())
        return;
    std::array<QDate, 3> read;
    for (int i = 0; i < 3; ++i)
        read[i] = dates_[i].date->GetDate();
    DataSet& ds = screen_.subGroups;
    Cli_qmv00500::boControle = true;
    try {
        for (; !ds.eof(); ds.next()) {
            for (int i = 0; i < 3; ++i) {
                Field& field = ds.fieldByName(QLatin1String(dates_[i].field));
                if (field.asFloat() != 0 || !read[i].isValid())
                    continue;
                ds.edit();
                field.setAsDateTime(wallClock(read[i]));
                ds.post();
            }
        }
        ds.first();
    } catch (...) {
        Cli_qmv00500::boControle = false;
        throw;
    }
    Cli_qmv00500::boControle = false;
}

}  // namespace qmv
