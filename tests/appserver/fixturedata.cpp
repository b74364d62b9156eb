// The small data set of the method tests. Branch 0001, company 0001 (CIA1), manual 0001 holds
// service 0000001001 (tree code 1.01.001) in class 0001 cycle 0001 with sub-groups S1, S2, S3
// (specifications E1, E2, E3), the same service in class 0002 (S1 as E6) and service 0000001002;
// branch 0002 has the service too (S1 as E4, S2 as E5).
#include "appserver/serverfixture.h"

#include "appserver/methods/packetbuilder.h"
#include "appserver/database/schema.h"

#include <QDateTime>

namespace qmv::appserver::test {

using namespace Qt::StringLiterals;

void seedFixture(const TestDatabase& d)
{
    migrate(d.db());
    const QStringList statements = {
        u"INSERT INTO FILIAL VALUES ('0001', 'Cozinha Teste')"_s,
        u"INSERT INTO FILIAL VALUES ('0002', 'Filial Dois')"_s,
        u"INSERT INTO COMPANHIA (CDCIA, SGCIA, NMCIA) VALUES ('0001', 'CIA1', 'Companhia Um')"_s,
        u"INSERT INTO COMPANHIA (CDCIA, SGCIA, NMCIA) VALUES ('0002', 'CIA2', 'Companhia Dois')"_s,
        u"INSERT INTO CIAFILI VALUES ('0001', '0001')"_s,
        u"INSERT INTO CIAFILI VALUES ('0001', '0002')"_s,
        u"INSERT INTO CIAFILI VALUES ('0002', '0001')"_s,
        u"INSERT INTO MANUALCIA VALUES ('0001', '0001', '0001', 'Manual A', 'M')"_s,
        u"INSERT INTO MANUALCIA VALUES ('0001', '0001', '0002', 'Manual B', 'M')"_s,
        u"INSERT INTO MANUALCIA VALUES ('0001', '0001', '0009', 'Custos', 'C')"_s,
        u"INSERT INTO MANUALCIA VALUES ('0002', '0001', '0001', 'Manual Filial Dois', 'M')"_s,
        u"INSERT INTO PARAMFILIAL VALUES ('0001', 'INS')"_s,
        u"INSERT INTO CLASSE VALUES ('0001', 'ECON', 'Econômica')"_s,
        u"INSERT INTO CLASSE VALUES ('0002', 'EXEC', 'Executiva')"_s,
        u"INSERT INTO CICLO VALUES ('0001', 'Ciclo 1', NULL)"_s,
        u"INSERT INTO CICLO VALUES ('0002', 'Ciclo 2', NULL)"_s,
        u"INSERT INTO SERVICO VALUES ('0000001001', '1.01.001', 'Almoço')"_s,
        u"INSERT INTO SERVICO VALUES ('0000001002', '1.01.002', 'Jantar')"_s,
        u"INSERT INTO SERVMANUAL VALUES ('0001', '0001', '0001', '0000001001', '0001', '0001')"_s,
        u"INSERT INTO SERVMANUAL VALUES ('0001', '0001', '0001', '0000001001', '0002', '0001')"_s,
        u"INSERT INTO SERVMANUAL VALUES ('0001', '0001', '0001', '0000001002', '0001', '0002')"_s,
        u"INSERT INTO SERVMANUAL VALUES ('0002', '0001', '0001', '0000001001', '0001', '0001')"_s,
        u"INSERT INTO CLASSIFICACAO VALUES ('0001', 'Louça')"_s,
        u"INSERT INTO PRODUTO VALUES ('EQ1', '4.01.001', 'Bandeja', 'E', 3, 'UN', '0001', 'S')"_s,
        u"INSERT INTO PRODUTO VALUES ('EQ2', '4.01.002', 'Prato Raso', 'E', 3, 'UN', '0001', 'S')"_s,
        u"INSERT INTO PRODUTO VALUES ('EQ3', '4.01.003.01', 'Ramequim', 'E', 4, 'UN', NULL, 'S')"_s,
        u"INSERT INTO PRODUTO VALUES ('P1', '2.01.001', 'Arroz', 'P', 3, 'KG', NULL, 'S')"_s,
        u"INSERT INTO PRODUTO VALUES ('R1', '5.01.001', 'Frango Assado', 'R', 3, 'PORC', NULL, 'N')"_s,
        u"INSERT INTO EQUIPCIA VALUES ('0001', '0001', 'EQ1')"_s,
        u"INSERT INTO EQUIPCIA VALUES ('0001', '0001', 'EQ2')"_s,
        u"INSERT INTO EQUIPCIA VALUES ('0001', '0001', 'EQ3')"_s,
        u"INSERT INTO EQUIPCIA VALUES ('0002', '0001', 'EQ1')"_s,
        u"INSERT INTO SUBGRUPO VALUES ('S1', '3.01.001', 'Prato Quente', 'PRATO QUENTE', 'QTE')"_s,
        u"INSERT INTO SUBGRUPO VALUES ('S2', '3.01.002', 'Salada', NULL, NULL)"_s,
        u"INSERT INTO SUBGRUPO VALUES ('S3', '3.01.003', 'Sobremesa', NULL, NULL)"_s,
    };
    for (const QString& sql : statements)
        d.exec(sql);
    const QString insertRow =
        u"INSERT INTO SUBGRUSEMA (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO, CDSUBGRU, CDESPEPRODSG, "
        "NRORDSUMA, VRPELOADSUMA, DSSUBGRUPO, TXCOMSUMA, DTEFETSUMA, DTREVISUMA, CDPRODUTOPRI) "
        "VALUES (?, '0001', '0001', '0000001001', ?, '0001', ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s;
    const QVariant noDate(QMetaType(QMetaType::QDateTime));
    const QVariant noText(QMetaType(QMetaType::QString));
    const QVariant march10 = dbDateTime(QDateTime(QDate(2026, 3, 10), QTime(0, 0)));
    d.exec(insertRow, {u"0001"_s, u"0001"_s, u"S1"_s, u"E1"_s, u"001"_s, u"12.6"_s, u"Prato"_s, u"Quente"_s, march10,
                       march10, noText});
    d.exec(insertRow, {u"0001"_s, u"0001"_s, u"S2"_s, u"E2"_s, u"002"_s, noText, u"Salada"_s, noText, noDate, noDate,
                       u"S1"_s});
    d.exec(insertRow, {u"0001"_s, u"0001"_s, u"S3"_s, u"E3"_s, u"003"_s, noText, noText, noText, noDate, noDate,
                       noText});
    d.exec(insertRow, {u"0002"_s, u"0001"_s, u"S1"_s, u"E4"_s, u"001"_s, noText, noText, noText, noDate, noDate,
                       noText});
    d.exec(insertRow, {u"0002"_s, u"0001"_s, u"S2"_s, u"E5"_s, u"002"_s, noText, noText, noText, noDate, noDate,
                       noText});
    d.exec(insertRow, {u"0001"_s, u"0002"_s, u"S1"_s, u"E6"_s, u"001"_s, noText, noText, noText, noDate, noDate,
                       noText});
    d.exec(u"INSERT INTO FOTOSEMA VALUES ('S1', 'E1', ?)"_s, {QByteArray("\xff\xd8photo-one\x00\xff", 13)});
    d.exec(u"INSERT INTO FOTOSEMA VALUES ('S2', 'E2', ?)"_s, {QVariant(QMetaType(QMetaType::QByteArray))});
    d.exec(u"INSERT INTO FOTOSUBMA VALUES ('S1', 'E1', ?, 'INS')"_s, {QByteArray("{\\rtf1 um}")});
    d.exec(u"INSERT INTO FOTOSUBMA VALUES ('S3', 'E3', ?, 'INS')"_s, {QByteArray("{\\rtf1 tres}")});
    d.exec(u"INSERT INTO FOTOSUBMA VALUES ('S1', 'E4', ?, 'INS')"_s, {QByteArray("{\\rtf1 quatro}")});
    d.exec(u"INSERT INTO EQUISUBSEMA VALUES ('E1', 'EQ1', 2)"_s);
    d.exec(u"INSERT INTO PRODRECSEMA VALUES ('E1', 'P1', '001', 0.5, 'Comentário', 'QTE')"_s);
    d.exec(u"INSERT INTO PRODRECSEMA VALUES ('E1', 'R1', '002', 1, NULL, 'QTE')"_s);
}

}  // namespace qmv::appserver::test
