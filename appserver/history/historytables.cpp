#include "appserver/history/historytables.h"

#include "appserver/methods/methoderror.h"
#include "appserver/methods/packetbuilder.h"

#include <QHash>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

HistoryTable table(const QString& name, const QList<FieldDef>& columns, int keyCount, const QString& subgroup)
{
    HistoryTable t{name, columns, keyCount, subgroup, -1};
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].kind == FieldKind::Blob)
            t.blobColumn = i;
    return t;
}

QHash<QString, HistoryTable> allTables()
{
    const auto text = textField;
    QHash<QString, HistoryTable> all;
    const auto add = [&](const HistoryTable& t) { all.insert(t.name, t); };
    add(table(u"SUBGRUSEMA"_s,
              {text(u"CDFILIAL"_s, 4), text(u"CDCIA"_s, 4), text(u"CDMANCIA"_s, 4), text(u"CDSERVICO"_s, 10),
               text(u"CDCLASSE"_s, 4), text(u"CDCICLO"_s, 4), text(u"CDSUBGRU"_s, 10), text(u"CDESPEPRODSG"_s, 10),
               text(u"CDESPEPROD"_s, 10), text(u"NRORDSUMA"_s, 3), text(u"VRPELOADSUMA"_s, 20),
               text(u"DSSUBGRUPO"_s, 50), text(u"TXCOMSUMA"_s, 200), text(u"NMFOTOSUMA"_s, 30),
               dateTimeField(u"DTAPRESUMA"_s), dateTimeField(u"DTEFETSUMA"_s), dateTimeField(u"DTREVISUMA"_s),
               text(u"CDPRODUTOPRI"_s, 10)},
              7, u"CDESPEPRODSG"_s));
    add(table(u"FOTOSEMA"_s, {text(u"CDPRODUTO"_s, 10), text(u"CDESPEPROD"_s, 10), blobField(u"FGESPEPROD"_s)}, 2,
              u"CDESPEPROD"_s));
    add(table(u"FOTOSUBMA"_s,
              {text(u"CDPRODUTO"_s, 10), text(u"CDESPEPROD"_s, 10), blobField(u"FGFOTOSUMA"_s),
               text(u"CDTIPODOCU"_s, 3)},
              2, u"CDESPEPROD"_s));
    add(table(u"EQUISUBSEMA"_s,
              {text(u"CDESPEPROD"_s, 10), text(u"CDPRODEQUIP"_s, 10), floatField(u"QTEQUISUMA"_s)}, 2,
              u"CDESPEPROD"_s));
    add(table(u"PRODRECSEMA"_s,
              {text(u"CDESPEPROD"_s, 10), text(u"CDPRODINSUMO"_s, 10), text(u"NRORDEM"_s, 3),
               floatField(u"QUANTIDADE"_s), text(u"TXCOMENT"_s, 200), text(u"CDTIPOCOMP"_s, 3)},
              2, u"CDESPEPROD"_s));
    return all;
}

}  // namespace

int HistoryTable::indexOf(const QString& column) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name == column)
            return i;
    return -1;
}

QString HistoryTable::keyText(const QVariantList& key) const
{
    QStringList parts;
    for (int i = 0; i < keyCount; ++i)
        parts << columns[i].name + u'=' + key.value(i).toString();
    return parts.join(u';');
}

QVariantList HistoryTable::keyFromText(const QString& text) const
{
    const QStringList parts = text.split(u';');
    QVariantList key;
    for (int i = 0; i < keyCount; ++i) {
        const QString prefix = columns[i].name + u'=';
        if (parts.size() != keyCount || !parts[i].startsWith(prefix))
            throw MethodError(u"A chave \"%1\" não identifica uma linha de %2."_s.arg(text, name));
        key << parts[i].mid(prefix.size());
    }
    return key;
}

const HistoryTable* historyTable(const QString& name)
{
    static const QHash<QString, HistoryTable> all = allTables();
    const auto it = all.constFind(name);
    return it == all.constEnd() ? nullptr : &it.value();
}

}  // namespace qmv::appserver
