// The sheet "Dados Adicionais": the principal sub-group (code, lookup button, description) and the
// presentation, effective and revision dates with their weekdays, all fields of the sub-group record;
// and the dataset of the principal sub-group candidates.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/tbtnpesquisa.h"
#include "host/tdbdateeditplus.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbedit.h"

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

}  // namespace qmv
