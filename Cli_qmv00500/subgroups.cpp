// The sub-group sheet: the dataset cdsSubGruSeMa with its fields in their fixed order (the order of
// the null-field list), its data source, and the grid columns of dbgPadrao.
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "platform/dbnavigator.h"
#include "platform/dbtext.h"

namespace qmv {

namespace {

FieldDef text(const char* name, int size, const QString& label = {}, bool visible = false)
{
    return {QString::fromLatin1(name), FieldKind::Text, size, label, visible};
}

FieldDef hidden(const char* name, FieldKind kind)
{
    return {QString::fromLatin1(name), kind, 0, {}, false};
}

}  // namespace

void TfrmFotoMontManual::buildSubGroups()
{
    cdsSubGruSeMa = new DataSet(this);
    cdsSubGruSeMa->setObjectName(QStringLiteral("cdsSubGruSeMa"));
    for (const FieldDef& def : {
             text("DSSUBGRUPO", 50, QStringLiteral("Sub-Grupo Impressão"), true),
             text("CDCIA", 4),
             text("SGCIA", 5),
             text("NMCIA", 50),
             text("CDMANCIA", 4),
             text("CDSERVICO", 10),
             text("CDSUBGRU", 10),
             text("CDSUBARV", 20, QStringLiteral("Código"), true),
             text("DSSUBGRU", 50, QStringLiteral("Descrição"), true),
             FieldDef{QStringLiteral("TempCiclo"), FieldKind::Calculated, 20, {}, false},
             text("NRORDSUMA", 3, QStringLiteral("Clas."), true),
             text("DSSUBGRUPROD", 50),
             text("NMFOTOSUMA", 30),
             hidden("FGLOGOCIA", FieldKind::Blob),
             text("VRPELOADSUMA", 20, QStringLiteral("Loading"), true),
             text("TXCOMSUMA", 200, QStringLiteral("Observação")),
             text("CDCLASSE", 4),
             text("CDCICLO", 4),
             text("CDFILIAL", 4),
             hidden("DTAPRESUMA", FieldKind::DateTime),
             text("DSSUBGRUPRI", 50),
             text("CDSUBARVPRI", 20),
             hidden("DTEFETSUMA", FieldKind::DateTime),
             hidden("DTREVISUMA", FieldKind::DateTime),
             text("CDESPEPROD", 10),
             text("CDTIPOCOMP", 3),
             text("CDSUBGRUPRI", 50),
             text("CDESPEPRODSG", 10),
             text("CDPRODUTOPRI", 10),
             FieldDef{QStringLiteral("OBS"), FieldKind::Calculated, 20, QStringLiteral("Obs.")},
         })
        cdsSubGruSeMa->addField(def);

    dtsSubGruSeMa = new DataSource(this);
    dtsSubGruSeMa->setObjectName(QStringLiteral("dtsSubGruSeMa"));
    dtsSubGruSeMa->setDataSet(cdsSubGruSeMa);
    dtsPadrao->setDataSet(cdsSubGruSeMa);

    dbgPadrao->setDataSource(dtsSubGruSeMa);
    dbgPadrao->setColumns({
        {QStringLiteral("NRORDSUMA"), 26, false},
        {QStringLiteral("CDSUBARV"), 99, true},
        {QStringLiteral("DSSUBGRU"), 246, true},
        {QStringLiteral("VRPELOADSUMA"), 44, false},
        {QStringLiteral("DSSUBGRUPO"), 272, false},
        {QStringLiteral("OBS"), 28, true},
    });
    dbtNome->setDataSource(dtsSubGruSeMa);
    dbtNome->setDataField(QStringLiteral("DSSUBGRU"));
    dbnPadrao->setDataSource(dtsSubGruSeMa);
}

}  // namespace qmv
