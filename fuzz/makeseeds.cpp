// Writes the seed corpora of the fuzz targets from the calls the tests make: the demo database's
// packets, change sets of one edit of each, and the requests that read and write them, in CBOR and
// in JSON. Usage: fuzz_makeseeds <corpus folder>.
#include "appserver/methods/catalogue.h"
#include "appserver/demo/demodata.h"
#include "appserver/http/wirecodec.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

using namespace qmv;
using namespace qmv::appserver;
using namespace Qt::StringLiterals;

namespace {

QDir corpus;

void seed(const QString& target, const QByteArray& bytes)
{
    corpus.mkpath(target);
    const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    QFile file(corpus.filePath(target + u'/' + name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void request(const QString& method, const QCborArray& args)
{
    const QByteArray json = QJsonDocument(cborToJson(QCborValue(args)).toArray()).toJson(QJsonDocument::Compact);
    seed(u"fuzz_router"_s, "\x00"_ba + method.toUtf8() + '\n' + QCborValue(args).toCbor());
    seed(u"fuzz_router"_s, "\x01"_ba + method.toUtf8() + '\n' + json);
    seed(u"fuzz_wire"_s, "\x00"_ba + QCborValue(args).toCbor());
    seed(u"fuzz_wire"_s, "\x01"_ba + json);
}

// Reads with `get`, then writes one edit of the first row back with `set`.
void roundTrip(MethodContext& context, const QString& get, const QCborArray& args, const QString& set,
               const QString& field, const QVariant& value, const QCborArray& more = {})
{
    request(get, args);
    const MethodResult result = Catalogue::standard().dispatch(get, args, context);
    seed(u"fuzz_packet"_s, result.encoded);
    const DataPacket packet = decodePacket(result.encoded);
    if (packet.rows.isEmpty() || set.isEmpty())
        return;
    Change change{ChangeKind::Update, packet.rows[0], packet.rows[0]};
    change.current[packet.indexOf(field)] = value;
    const ChangeSet changes{packet.fields, {change}};
    seed(u"fuzz_changeset"_s, encodeChangeSet(changes));
    seed(u"fuzz_changeset"_s, encodeChangeSet(ChangeSet{packet.fields, {Change{ChangeKind::Delete, packet.rows[0], {}}}}));
    QCborArray setArgs{toCbor(changes)};
    for (const QCborValue& v : more)
        setArgs.append(v);
    request(set, setArgs);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    corpus.setPath(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir dir;
    DbConfig config;
    config.sqliteFile = dir.filePath(u"demo.db"_s);
    createDemoDatabase(config);
    std::mutex writeLock;
    MethodContext context{openDatabase(config, u"seeds"_s), Driver::Sqlite, &writeLock};

    const QCborArray branch{u"0001"_s, u"0001"_s, u"0001"_s};
    roundTrip(context, u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString()}, {}, {}, {});
    const DataPacket services = decodePacket(
        Catalogue::standard().dispatch(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString()}, context).encoded);
    const auto text = [&](const DataPacket& p, const char* f) { return p.rows[0][p.indexOf(QString::fromLatin1(f))].toString(); };
    const QString key = text(services, "CDSERVICO") + text(services, "CDCLASSE") + text(services, "CDCICLO");
    roundTrip(context, u"GetSubGruSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, key, u"2"_s, u"2"_s}, u"SetSubGruSeMa"_s,
              u"TXCOMSUMA"_s, u"Novo comentário"_s, {u"_DTAPRESUMA_OBS"_s});
    const DataPacket subgroups = decodePacket(Catalogue::standard().dispatch(
        u"GetSubGruSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, key, u"2"_s, u"2"_s}, context).encoded);
    const QString sub = text(subgroups, "CDSUBGRU"), espe = text(subgroups, "CDESPEPRODSG");
    roundTrip(context, u"GetEquiSubSeMa"_s, {sub, espe, u"3"_s}, u"SetEquiSubSeMa"_s, u"QTEQUISUMA"_s, 2.5);
    roundTrip(context, u"GetFotoSeMa"_s, {sub, espe}, u"SetFotoSeMa"_s, u"FGESPEPROD"_s, QByteArray("\xff\xd8\xff", 3));
    roundTrip(context, u"GetFotoSubMa"_s, {sub, espe}, u"SetFotoSubMa"_s, u"FGFOTOSUMA"_s, QByteArray("{\\rtf1 x}"));
    roundTrip(context, u"GetProRecSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, text(subgroups, "CDSERVICO"), sub,
                                            text(subgroups, "CDCLASSE"), text(subgroups, "CDCICLO")},
              u"SetProRecSeMa"_s, u"NRORDEM"_s, u"007"_s);
    roundTrip(context, u"GetParametros"_s, {u"0001"_s}, {}, {}, {});
    request(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, espe, u"P1"_s, sub, 1});
    return 0;
}
