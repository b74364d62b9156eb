// The history's read methods: the entries of a sub-group, of a service and of a batch, one kept
// content, and the photo imports into a service.
#include "appserver/history/historymethods.h"
#include "appserver/methods/catalogue.h"
#include "appserver/methods/packetbuilder.h"

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

const QString entrySelect = uR"(
        SELECT A.NRLOTE || ':' || CAST(A.NRSEQ AS VARCHAR(10)), A.NRLOTE, A.NRSEQ, L.DTLOTE, L.NMCHAVE, L.NMUSUARIO,
               L.NMMETODO, A.NMTABELA, A.DSCHAVE, A.IDTIPO, A.CDESPEPRODSG, A.PKANTES, A.PKDEPOIS, A.CDCONTANTES,
               A.CDCONTDEPOIS
          FROM HISTALTERA A JOIN HISTLOTE L ON L.NRLOTE = A.NRLOTE
         WHERE A.CDFILIAL = ? AND )"_s;

const QList<FieldDef>& entryFields()
{
    static const QList<FieldDef> fields = {
        textField(u"IDHIST"_s, 48),        textField(u"NRLOTE"_s, 36),       integerField(u"NRSEQ"_s),
        dateTimeField(u"DTLOTE"_s),        textField(u"NMCHAVE"_s, 30),      textField(u"NMUSUARIO"_s, 64),
        textField(u"NMMETODO"_s, 40),      textField(u"NMTABELA"_s, 30),     textField(u"DSCHAVE"_s, 200),
        fixedTextField(u"IDTIPO"_s, 1),    textField(u"CDESPEPRODSG"_s, 10), blobField(u"PKANTES"_s),
        blobField(u"PKDEPOIS"_s),          textField(u"CDCONTANTES"_s, 40),  textField(u"CDCONTDEPOIS"_s, 40)};
    return fields;
}

MethodResult entries(MethodContext& context, const QString& condition, const QVariantList& params)
{
    return streamedSelect(context.db, entrySelect + condition, params, entryFields());
}

MethodResult getHistSubGru(const Arguments& a, MethodContext& context)
{
    return entries(context, u"A.CDESPEPRODSG = ? ORDER BY "_s + newestFirst,
                   {a.text(0, u"filial"_s, 4), a.text(1, u"especificação do sub-grupo"_s, 10)});
}

MethodResult getHistServico(const Arguments& a, MethodContext& context)
{
    return entries(context, u"A.CDCIA = ? AND A.CDMANCIA = ? AND A.CDSERVICO = ? ORDER BY "_s + newestFirst,
                   {a.text(0, u"filial"_s, 4), a.text(1, u"companhia"_s, 4), a.text(2, u"manual"_s, 4),
                    a.text(3, u"serviço"_s, 10)});
}

MethodResult getHistLote(const Arguments& a, MethodContext& context)
{
    return entries(context, u"A.NRLOTE = ? ORDER BY A.NRSEQ"_s,
                   {a.text(0, u"filial"_s, 4), a.text(1, u"lote"_s, 36)});
}

MethodResult getHistConteudo(const Arguments& a, MethodContext& context)
{
    return streamedSelect(context.db, u"SELECT CDDIGEST, FGCONTEUDO FROM HISTCONTEUDO WHERE CDDIGEST = ?"_s,
                          {a.text(0, u"conteúdo"_s, 40)}, {textField(u"CDDIGEST"_s, 40), blobField(u"FGCONTEUDO"_s)});
}

MethodResult getImportacoes(const Arguments& a, MethodContext& context)
{
    return streamedSelect(context.db, uR"(
        SELECT L.NRLOTE, L.DTLOTE, L.NMCHAVE, L.NMUSUARIO, L.DSLOTE, COUNT(A.NRSEQ)
          FROM HISTLOTE L JOIN HISTALTERA A ON A.NRLOTE = L.NRLOTE
         WHERE L.NMMETODO = 'ImportaFoto' AND L.CDFILIAL = ? AND L.CDCIA = ? AND L.CDMANCIA = ? AND L.CDSERVICO = ?
         GROUP BY L.NRLOTE, L.DTLOTE, L.NMCHAVE, L.NMUSUARIO, L.DSLOTE
         ORDER BY L.DTLOTE DESC, L.NRLOTE DESC)"_s,
                          {a.text(0, u"filial"_s, 4), a.text(1, u"companhia"_s, 4), a.text(2, u"manual"_s, 4),
                           a.text(3, u"serviço"_s, 10)},
                          {textField(u"NRLOTE"_s, 36), dateTimeField(u"DTLOTE"_s), textField(u"NMCHAVE"_s, 30),
                           textField(u"NMUSUARIO"_s, 64), textField(u"DSLOTE"_s, 200), integerField(u"NRALTERA"_s)});
}

}  // namespace

void addHistoryReadMethods(Catalogue& catalogue)
{
    catalogue.add(u"GetHistSubGru"_s, getHistSubGru);
    catalogue.add(u"GetHistServico"_s, getHistServico);
    catalogue.add(u"GetHistLote"_s, getHistLote);
    catalogue.add(u"GetHistConteudo"_s, getHistConteudo);
    catalogue.add(u"GetImportacoes"_s, getImportacoes);
}

}  // namespace qmv::appserver
