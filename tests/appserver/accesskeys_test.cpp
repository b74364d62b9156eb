// Which calls an access key reaches: branches read and written, change-set rows, calls without a
// branch, and the key file's own errors.
#include "appserver/http/accesskeys.h"
#include "platform/packet.h"

#include <QCborMap>

#include <gtest/gtest.h>

namespace qmv::appserver {
namespace {

using namespace Qt::StringLiterals;

const QByteArray keyFile = "# kitchen 0001 only, and a head office that reads everything\n"
                           "kitchen-0001-aaaaaaaa read=0001 write=0001\n"
                           "\n"
                           "head-office-bbbbbbbbbb read=* write=-\n";

QCborArray changeSetFor(const QString& originalBranch, const QString& currentBranch)
{
    const QList<FieldDef> fields = {{u"CDFILIAL"_s}, {u"QTEQUISUMA"_s, FieldKind::Float}};
    return {toCbor(ChangeSet{fields, {Change{ChangeKind::Update, {originalBranch, 1.0}, {currentBranch, 2.0}}}})};
}

TEST(AccessKeys, AllowOnlyTheBranchesEachKeyReadsOrWrites)
{
    const AccessKeys keys = AccessKeys::parse(keyFile);
    const std::string kitchen = "kitchen-0001-aaaaaaaa", office = "head-office-bbbbbbbbbb";
    const QCborArray subgroups0001{u"0001"_s, u"0001"_s, u"0001"_s, u"k"_s, u"2"_s, u"2"_s};
    const QCborArray subgroups0002{u"0002"_s, u"0001"_s, u"0001"_s, u"k"_s, u"2"_s, u"2"_s};
    const QCborArray services0002{u"0001"_s, u"0002"_s, u"0001"_s, u""_s};  // company first, branch second
    const QCborArray importInto0001{u"0002"_s, u"C"_s, u"M"_s, u"S"_s, u"0001"_s, u"M"_s, u"S"_s, u""_s, u"T"_s};
    const QCborArray importInto0002{u"0001"_s, u"C"_s, u"M"_s, u"S"_s, u"0002"_s, u"M"_s, u"S"_s, u""_s, u"T"_s};
    const QCborArray photo{u"S1"_s, u"E1"_s};
    struct Case {
        std::string key;
        QString method;
        QCborArray args;
        QString refusal;  // empty: allowed
    };
    const QList<Case> cases = {
        {kitchen, u"GetSubGruSeMa"_s, subgroups0001, {}},
        {kitchen, u"GetSubGruSeMa"_s, subgroups0002, u"A chave de acesso não permite ler a filial 0002 (GetSubGruSeMa)."_s},
        {kitchen, u"GetSubGruSeMa"_s, {QString(100'000, u'9')},
         u"A chave de acesso não permite ler a filial 99999999… (GetSubGruSeMa)."_s},
        {kitchen, u"GetServManual"_s, services0002, u"A chave de acesso não permite ler a filial 0002 (GetServManual)."_s},
        {kitchen, u"SetEquiSubSeMa"_s, changeSetFor(u"0001"_s, u"0001"_s), {}},
        {kitchen, u"SetEquiSubSeMa"_s, changeSetFor(u"0002"_s, u"0001"_s),
         u"A chave de acesso não permite gravar a filial 0002 (SetEquiSubSeMa)."_s},
        {kitchen, u"ImportaFoto"_s, importInto0001, u"A chave de acesso não permite ler a filial 0002 (ImportaFoto)."_s},
        {kitchen, u"GetFotoSeMa"_s, photo, {}},
        {office, u"GetSubGruSeMa"_s, subgroups0002, {}},
        {office, u"ImportaFoto"_s, importInto0002, u"A chave de acesso não permite gravar a filial 0002 (ImportaFoto)."_s},
        {office, u"SetFotoSeMa"_s, {QCborMap{}}, u"A chave de acesso não permite gravar dados (SetFotoSeMa)."_s},
        {office, u"InsereEquip"_s, {u"0001"_s}, u"A chave de acesso não permite gravar a filial 0001 (InsereEquip)."_s},
        {kitchen, u"GetHistSubGru"_s, {u"0002"_s, u"E4"_s}, u"A chave de acesso não permite ler a filial 0002 (GetHistSubGru)."_s},
        {kitchen, u"RestauraHist"_s, {u"0002"_s, u"l:1"_s, u"l:1"_s},
         u"A chave de acesso não permite gravar a filial 0002 (RestauraHist)."_s},
        {office, u"DesfazImportaFoto"_s, {u"0001"_s, u"l"_s}, u"A chave de acesso não permite gravar a filial 0001 (DesfazImportaFoto)."_s},
        {"", u"GetFotoSeMa"_s, photo, u"Chave de acesso ausente ou desconhecida."_s},
        {"kitchen-0001-aaaaaaab", u"GetFotoSeMa"_s, photo, u"Chave de acesso ausente ou desconhecida."_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keys.refusal(c.key, c.method, c.args).value_or(QString()), c.refusal)
            << c.key << " " << c.method.toStdString();
}

TEST(AccessKeys, RefuseAKeyFileTheyCannotTrust)
{
    const std::pair<QByteArray, std::string> cases[] = {
        {"", "the access-key file holds no key"},
        {"short read=* write=*\n", "access-key file, line 1: a key needs at least 16 characters"},
        {"# c\nkitchen-0001-aaaaaaaa write=0001 read=0001\n", "access-key file, line 2: expected '<key> read=<branches> write=<branches> [metrics]'"},
        {"kitchen-0001-aaaaaaaa read=* write=- metric\n", "access-key file, line 1: expected '<key> read=<branches> write=<branches> [metrics]'"},
        {"kitchen-0001-aaaaaaaa read=0001,,0002 write=-\n", "access-key file, line 1: bad branch code ''"},
        {"kitchen-0001-aaaaaaaa read=* write=-\nkitchen-0001-aaaaaaaa read=* write=-\n", "access-key file, line 2: the key appears twice"},
    };
    for (const auto& [text, message] : cases) {
        try {
            AccessKeys::parse(text);
            ADD_FAILURE() << "accepted " << text.constData();
        } catch (const AccessKeyError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

}  // namespace
}  // namespace qmv::appserver
