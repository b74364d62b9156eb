// The sheet "Dados Adicionais": the principal sub-group (code, lookup button, description) and the
// presentation, effective and revision dates with their weekdays, all fields of the sub-group record;
// the dataset of the principal sub-group candidates, the check of a typed principal code, and the
// copy of the first sub-group's dates to the others.
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/fieldexit.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "host/tcustompagecontrol98.h"
#include "host/tmessages.h"
#include "host/tdbdateeditplus.h"
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

void TfrmFotoMontManual::buildDates()
{
    cdsSubGruPrin = new DataSet(this);
    cdsSubGruPrin->setObjectName(QStringLiteral("cdsSubGruPrin"));
    cdsSubGruPrin->addField({QStringLiteral("CDSUBARV"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsSubGruPrin->addField({QStringLiteral("DSSUBGRU"), FieldKind::Text, 200, QStringLiteral("Descrição")});
    cdsSubGruPrin->addField({QStringLiteral("CDSUBGRU"), FieldKind::Text, 10, {}, false});
    dtsSubGruPrin = new DataSource(this);
    dtsSubGruPrin->setObjectName(QStringLiteral("dtsSubGruPrin"));
    dtsSubGruPrin->setDataSet(cdsSubGruPrin);

    grbSubGruPri = new QGroupBox(QStringLiteral("Sub-grupo Principal"), tshDadosAdic);
    grbSubGruPri->setObjectName(QStringLiteral("grbSubGruPri"));
    QFont bold = grbSubGruPri->font();
    bold.setBold(true);
    grbSubGruPri->setFont(bold);
    auto* principal = new QHBoxLayout(grbSubGruPri);
    // Messages about a field name it by the caption the person reads beside it.
    cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBARVPRI")).setLabel(grbSubGruPri->title());
    dbeCdSubGruPri = new DBEdit(grbSubGruPri, QStringLiteral("dbeCdSubGruPri"));
    dbeCdSubGruPri->setDataSource(dtsSubGruSeMa);
    dbeCdSubGruPri->setDataField(QStringLiteral("CDSUBARVPRI"));
    dbeCdSubGruPri->setFixedWidth(110);
    btpSubGruPrin = new TBtnPesquisa(grbSubGruPri, QStringLiteral("btpSubGruPrin"));
    btpSubGruPrin->setToolTip(QStringLiteral("Pesquisar"));
    btpSubGruPrin->setTitle(QStringLiteral("Sub-grupo"));
    btpSubGruPrin->setAssociate(dbeCdSubGruPri);
    btpSubGruPrin->setDataSource(dtsSubGruPrin);
    dbeDsSubGruPri = new DBEdit(grbSubGruPri, QStringLiteral("dbeDsSubGruPri"));
    dbeDsSubGruPri->setDataSource(dtsSubGruSeMa);
    dbeDsSubGruPri->setDataField(QStringLiteral("DSSUBGRUPRI"));
    greyBox(dbeDsSubGruPri);
    for (QWidget* control : std::initializer_list<QWidget*>{dbeCdSubGruPri, btpSubGruPrin, dbeDsSubGruPri}) {
        control->setFont(font());
        principal->addWidget(control);
    }
    principal->setStretch(2, 1);

    grbDatas = new QGroupBox(tshDadosAdic);
    grbDatas->setObjectName(QStringLiteral("grbDatas"));
    auto* dates = new QGridLayout(grbDatas);
    const auto row = [&](int index, const QString& caption, const QString& dateName, const char* field,
                         const QString& weekdayName) {
        auto* edit = new TDBDateEditPlus(grbDatas, dateName);
        cdsSubGruSeMa->fieldByName(QLatin1String(field)).setLabel(caption);
        edit->setDataSource(dtsSubGruSeMa);
        edit->setDataField(QString::fromLatin1(field));
        edit->setValidDateColor(Qt::blue);
        edit->setWeekDays({QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"),
                           QStringLiteral("Quarta"), QStringLiteral("Quinta"), QStringLiteral("Sexta"),
                           QStringLiteral("Sábado")});
        auto* weekday = new QLineEdit(grbDatas);
        weekday->setObjectName(weekdayName);
        greyBox(weekday);
        dates->addWidget(boldLabel(caption, grbDatas), index, 0);
        dates->addWidget(edit, index, 1);
        dates->addWidget(weekday, index, 2);
        return std::pair{edit, weekday};
    };
    std::tie(depApresent, edtNmDiaApre) =
        row(0, QStringLiteral("Apresentação"), QStringLiteral("depApresent"), "DTAPRESUMA", QStringLiteral("edtNmDiaApre"));
    std::tie(depEfetivacao, edtNmDiaEfet) =
        row(1, QStringLiteral("Efetivação"), QStringLiteral("depEfetivacao"), "DTEFETSUMA", QStringLiteral("edtNmDiaEfet"));
    std::tie(depRevisao, edtNmDiaRevi) =
        row(2, QStringLiteral("Revisão"), QStringLiteral("depRevisao"), "DTREVISUMA", QStringLiteral("edtNmDiaRevi"));
    dates->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(tshDadosAdic);
    layout->addWidget(grbSubGruPri);
    layout->addWidget(grbDatas);
    layout->addStretch(1);
    // The dates come first in the tab order, although they sit below the principal sub-group.
    setTabOrder(depApresent, depEfetivacao);
    setTabOrder(depEfetivacao, edtNmDiaApre);
    setTabOrder(edtNmDiaApre, edtNmDiaEfet);
    setTabOrder(edtNmDiaEfet, edtNmDiaRevi);
    setTabOrder(edtNmDiaRevi, depRevisao);
    setTabOrder(depRevisao, dbeCdSubGruPri);
    setTabOrder(dbeCdSubGruPri, btpSubGruPrin);
}

namespace {

void copyPrincipal(TfrmFotoMontManual& f, const DataSet& chosen)
{
    DataSet& record = *f.cdsSubGruSeMa;
    record.edit();
    record.fieldByName(QStringLiteral("CDSUBARVPRI")).setValue(chosen.fieldByName(QStringLiteral("CDSUBARV")).value());
    record.fieldByName(QStringLiteral("CDPRODUTOPRI")).setValue(chosen.fieldByName(QStringLiteral("CDSUBGRU")).value());
    record.fieldByName(QStringLiteral("DSSUBGRUPRI")).setValue(chosen.fieldByName(QStringLiteral("DSSUBGRU")).value());
}

// The candidates for the principal sub-group of the current one; an empty code lists them all.
// The key is the loaded one: the service list's current row may have moved since the load.
void loadPrincipals(TfrmFotoMontManual& f, const QString& code)
{
    const SelectionPanel& selection = f.selection();
    const SelectionKey& key = selection.key();
    const QString subGroup = f.cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBGRU")).asString();
    loadResult(*f.cdsSubGruPrin, GetSubGruPrin(*f.netFotoMantMan, selection.rows().medFilial->text(), key.company,
                                               key.manual, key.service, key.classCode, key.cycle, subGroup, code));
}

}  // namespace

// The weekday beside each date: cleared by a key in the date, shown on leaving it, and from then
// on following the date as it changes.
void TfrmFotoMontManual::bindDates()
{
    const std::pair<TDBDateEditPlus*, QLineEdit*> rows[] = {
        {depApresent, edtNmDiaApre}, {depEfetivacao, edtNmDiaEfet}, {depRevisao, edtNmDiaRevi}};
    for (const auto& [date, weekday] : rows) {
        auto* exit = new FieldExit(*date, this);
        exit->onKeyPress = [weekday = weekday](QKeyEvent&) { weekday->clear(); };
        exit->onExit = [date = date, weekday = weekday] {
            date->CheckValidDate();
            weekday->setText(NomeSemana(date->GetDate()));
        };
        connect(date, &QLineEdit::textChanged, this, [date = date, weekday = weekday] {
            if (!weekday->text().isEmpty())
                weekday->setText(NomeSemana(date->GetDate()));
        });
    }
    btpSubGruPrin->BeforePesq = [this](QObject*, bool&) { loadPrincipals(*this, QString()); };
    btpSubGruPrin->setEmptyError(QStringLiteral("Não há sub-grupo cadastrado para o manual."));
    btpSubGruPrin->AfterPesq = [this](QObject*) { copyPrincipal(*this, *cdsSubGruPrin); };
    auto* principal = new FieldExit(*dbeCdSubGruPri, this);
    principal->onExit = [this] { dbeCdSubGruPriExit(); };
    connect(dbeCdSubGruPri, &QLineEdit::textEdited, this, [this] { guard([this] { dbeCdSubGruPriChange(); }); });
}

// A code typed over another, or emptied, no longer names the principal that was chosen: its
// description and internal code go, so the new code is looked up on leaving the box.
void TfrmFotoMontManual::dbeCdSubGruPriChange()
{
    const DataSetState state = cdsSubGruSeMa->state();
    if (state != DataSetState::Edit && state != DataSetState::Insert)
        return;
    cdsSubGruSeMa->fieldByName(QStringLiteral("DSSUBGRUPRI")).clear();
    cdsSubGruSeMa->fieldByName(QStringLiteral("CDPRODUTOPRI")).clear();
}

void TfrmFotoMontManual::dbeCdSubGruPriExit()
{
    const QString code = cdsSubGruSeMa->fieldByName(QStringLiteral("CDSUBARVPRI")).asString();
    if (EmptyString(code) || !EmptyString(dbeDsSubGruPri->text()))
        return;
    loadPrincipals(*this, code);
    if (cdsSubGruPrin->isEmpty()) {
        dbeCdSubGruPri->setFocus();
        MensErro(msgPadrao->Msg(QStringLiteral("Sub_Inv")), true);
    }
    copyPrincipal(*this, *cdsSubGruPrin);
}

// The dates confirmed on the first sub-group become the dates of every sub-group that has none,
// field by field. The date rules stay off only while the copy runs, whatever it meets.
void TfrmFotoMontManual::CopiaDatas()
{
    if (pgcSubGrupo->ActivePage() != tshDadosAdic || cdsSubGruSeMa->recNo() != 1 || depApresent->isBlank())
        return;
    const std::pair<const char*, QDate> dates[] = {{"DTAPRESUMA", depApresent->GetDate()},
                                                   {"DTEFETSUMA", depEfetivacao->GetDate()},
                                                   {"DTREVISUMA", depRevisao->GetDate()}};
    DataSet& ds = *cdsSubGruSeMa;
    Cli_qmv00500::boControle = true;
    try {
        for (; !ds.eof(); ds.next()) {
            for (const auto& [name, date] : dates) {
                Field& field = ds.fieldByName(QLatin1String(name));
                if (field.asFloat() != 0 || !date.isValid())
                    continue;
                ds.edit();
                field.setAsDateTime(wallClock(date));
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
