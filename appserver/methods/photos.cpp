// Sub-group photos: reading and writing one sub-group's photo, and the import of the photos of
// another manual's service.
#include "appserver/methods/catalogue.h"
#include "appserver/methods/changeapplier.h"
#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"

#include <QCborMap>
#include <QHash>
#include <QRegularExpression>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype photoLimit = 550000;

MethodResult getFotoSeMa(const Arguments& a, MethodContext& context)
{
    const QString subgroup = a.text(0, u"sub-grupo"_s, 10);
    const QString espeProd = a.text(1, u"especificação do sub-grupo"_s, 10);
    return streamedSelect(context.db,
                          u"SELECT CDPRODUTO, CDESPEPROD, FGESPEPROD FROM FOTOSEMA "
                          "WHERE CDPRODUTO = ? AND CDESPEPROD = ?"_s,
                          {subgroup, espeProd},
                          {textField(u"CDPRODUTO"_s, 10), textField(u"CDESPEPROD"_s, 10), blobField(u"FGESPEPROD"_s)});
}

const TableLayout& fotoSeMaTable()
{
    static const TableLayout tableLayout = [] {
        TableLayout s;
        s.table = u"FOTOSEMA"_s;
        s.what = u"a foto do sub-grupo"_s;
        s.keys = {textField(u"CDPRODUTO"_s, 10), textField(u"CDESPEPROD"_s, 10)};
        s.stored = {blobField(u"FGESPEPROD"_s)};
        s.blobLimit = photoLimit;
        s.blobLimitMessage = u"Operação bloqueada: a foto tem 550000 bytes ou mais."_s;
        return s;
    }();
    return tableLayout;
}

MethodResult setFotoSeMa(const Arguments& a, MethodContext& context)
{
    const ChangeSet changes = a.changeSet(0);
    return statusResult(applyChangeSet(fotoSeMaTable(), changes, context, [&](const Row& current) {
        requireSubgroup(context, current.value(changes.indexOf(u"CDPRODUTO"_s)).toString(),
                        current.value(changes.indexOf(u"CDESPEPROD"_s)).toString());
    }));
}

// The list of CDSUBARV codes: codes separated by commas, semicolons, blanks or line breaks, each
// optionally in single or double quotes ("'0101','0102'" and "0101;0102" are the same list).
QStringList subgroupCodes(const QString& list)
{
    QStringList codes;
    static const QRegularExpression separators(u"[,;\\s]+"_s);
    for (QString code : list.split(separators, Qt::SkipEmptyParts)) {
        if (code.size() >= 2 && (code.front() == u'\'' || code.front() == u'"') && code.back() == code.front())
            code = code.mid(1, code.size() - 2);
        code = code.trimmed();
        if (code.isEmpty())
            continue;
        if (code.size() > 20)
            throw MethodError(u"ImportaFoto: o código de sub-grupo \"%1\" da lista excede 20 caracteres."_s.arg(code));
        codes << code;
    }
    return codes;
}

bool serviceInManual(MethodContext& context, const QVariantList& key)
{
    return runSql(context.db,
                  u"SELECT 1 FROM SERVMANUAL WHERE CDFILIAL = ? AND CDCIA = ? AND CDMANCIA = ? AND CDSERVICO = ?"_s,
                  key)
        .next();
}

// The photo of each origin sub-group, by CDSUBGRU (the first class and cycle that has one).
QHash<QString, QByteArray> originPhotos(MethodContext& context, const QVariantList& origin,
                                        const QStringList& codes)
{
    QSqlQuery q = runSql(context.db, uR"(
        SELECT SM.CDSUBGRU, SG.CDSUBARV, F.FGESPEPROD
          FROM SUBGRUSEMA SM
          JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
          JOIN FOTOSEMA F ON F.CDPRODUTO = SM.CDSUBGRU AND F.CDESPEPROD = SM.CDESPEPRODSG
         WHERE SM.CDFILIAL = ? AND SM.CDCIA = ? AND SM.CDMANCIA = ? AND SM.CDSERVICO = ?
           AND F.FGESPEPROD IS NOT NULL
         ORDER BY SM.CDSUBGRU, SM.CDCLASSE, SM.CDCICLO)"_s, origin);
    QHash<QString, QByteArray> photos;
    while (q.next()) {
        const QString subgroup = q.value(0).toString();
        if ((codes.isEmpty() || codes.contains(q.value(1).toString())) && !photos.contains(subgroup))
            photos.insert(subgroup, q.value(2).toByteArray());
    }
    return photos;
}

qint64 copyPhotos(MethodContext& context, const QVariantList& destination,
                  const QHash<QString, QByteArray>& photos)
{
    QSqlQuery targets = runSql(context.db,
                               u"SELECT CDSUBGRU, CDESPEPRODSG FROM SUBGRUSEMA WHERE CDFILIAL = ? AND CDCIA = ? "
                               "AND CDMANCIA = ? AND CDSERVICO = ? ORDER BY CDSUBGRU, CDCLASSE, CDCICLO"_s,
                               destination);
    QList<std::pair<QString, QString>> rows;
    while (targets.next())
        rows.append({targets.value(0).toString(), targets.value(1).toString()});
    qint64 copied = 0;
    for (const auto& [subgroup, espeProd] : rows) {
        const auto photo = photos.constFind(subgroup);
        if (photo == photos.constEnd())
            continue;
        const QVariantList key = {subgroup, espeProd};
        const RowImage before = context.history ? context.history->read(*historyTable(u"FOTOSEMA"_s), key) : RowImage();
        runSql(context.db, u"DELETE FROM FOTOSEMA WHERE CDPRODUTO = ? AND CDESPEPROD = ?"_s, key);
        runSql(context.db, u"INSERT INTO FOTOSEMA (CDPRODUTO, CDESPEPROD, FGESPEPROD) VALUES (?, ?, ?)"_s,
               {subgroup, espeProd, photo.value()});
        if (context.history)
            context.history->record(*historyTable(u"FOTOSEMA"_s), key, before, {std::nullopt, photo.value()});
        ++copied;
    }
    return copied;
}

MethodResult importaFoto(const Arguments& a, MethodContext& context)
{
    const QString originBranch = a.text(0, u"filial de origem"_s, 4);
    const QString company = a.text(1, u"companhia"_s, 4);
    const QString originManual = a.text(2, u"manual de origem"_s, 4);
    const QString originService = a.text(3, u"serviço de origem"_s, 10);
    const QString destinationBranch = a.text(4, u"filial de destino"_s, 4);
    const QString destinationManual = a.text(5, u"manual de destino"_s, 4);
    const QString destinationService = a.text(6, u"serviço de destino"_s, 10);
    const QString list = a.text(7, u"lista de sub-grupos"_s, 20000);
    const QString all = a.oneOf(8, u"indicador de todos"_s, {u"T"_s, QString()});

    if (all == u"T" && !list.trimmed().isEmpty())
        throw MethodError(u"ImportaFoto: informe a lista de sub-grupos ou \"T\" para todos, não os dois."_s);
    const QStringList codes = subgroupCodes(list);
    if (all.isEmpty() && codes.isEmpty())
        throw MethodError(u"ImportaFoto: informe a lista de sub-grupos ou \"T\" para todos."_s);
    if (originBranch == destinationBranch && originManual == destinationManual && originService == destinationService)
        throw MethodError(u"Não é possível importar fotos para a mesma filial, companhia, manual e serviço."_s);
    const QVariantList origin = {originBranch, company, originManual, originService};
    const QVariantList destination = {destinationBranch, company, destinationManual, destinationService};
    if (!serviceInManual(context, origin))
        throw MethodError(u"ImportaFoto: o serviço de origem %1 não está cadastrado no manual %2 da filial %3."_s
                              .arg(originService, originManual, originBranch));
    if (!serviceInManual(context, destination))
        throw MethodError(u"ImportaFoto: o serviço de destino %1 não está cadastrado no manual %2 da filial %3."_s
                              .arg(destinationService, destinationManual, destinationBranch));

    WriteScope scope(context);
    if (context.history)
        context.history->describeImport(destination, u"Fotos do serviço %1 do manual %2 da filial %3 (%4)."_s.arg(
                                                         originService, originManual, originBranch,
                                                         all.isEmpty() ? u"lista"_s : u"todos"_s));
    const qint64 copied = copyPhotos(context, destination, originPhotos(context, origin, codes));
    const QString batch = context.history && copied > 0 ? context.history->batch() : QString();
    scope.commit();
    MethodResult result = statusResult(copied);
    if (!batch.isEmpty()) {
        QCborMap status = result.value.toMap();
        status.insert(u"lote"_s, batch);  // what DesfazImportaFoto takes
        result.value = status;
    }
    return result;
}

}  // namespace

void addPhotoMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetFotoSeMa"_s, getFotoSeMa);
    catalogue.add(u"SetFotoSeMa"_s, setFotoSeMa);
    catalogue.add(u"ImportaFoto"_s, importaFoto);
}

}  // namespace qmv::appserver
