#include "qmv01200/emissiondata.h"

#include <QCborMap>
#include <QLocale>

#include "platform/displayformat.h"

namespace qmv {

namespace {

// Reads a packet's columns by name, so that the order of the server's columns does not matter.
class Reader {
public:
    Reader(const DataPacket& packet, const Row& row) : packet_(packet), row_(row) {}
    QString text(const char* name) const { return value(name).toString().trimmed(); }
    double number(const char* name) const { return value(name).toDouble(); }
    QDate date(const char* name) const { return value(name).toDateTime().date(); }
    QByteArray bytes(const char* name) const { return value(name).toByteArray(); }

private:
    QVariant value(const char* name) const
    {
        const int index = packet_.indexOf(QLatin1String(name));
        if (index < 0)
            throw PacketError(std::string("coluna ausente: ") + name);
        return row_.value(index);
    }
    const DataPacket& packet_;
    const Row& row_;
};

DataPacket part(const QCborMap& parts, const char* name)
{
    const QCborValue value = parts.value(QLatin1String(name));
    if (!value.isMap())
        throw PacketError(std::string("parte ausente: ") + name);
    return packetFromCbor(value);
}

}  // namespace

QString ServiceHeader::title() const
{
    QStringList parts = {code, name};
    for (const QString& extra : {classAbbrev, cycleName})
        if (!extra.isEmpty())
            parts << extra;
    return parts.join(QStringLiteral(" - "));
}

ManualHeader manualFromPacket(const DataPacket& packet)
{
    ManualHeader manual;
    for (const Row& row : packet.rows) {
        const Reader r(packet, row);
        if (manual.services.isEmpty())
            manual = {r.text("CDFILIAL"), r.text("NMFILIAL"), r.text("CDCIA"), r.text("SGCIA"),
                      r.text("NMCIA"),    r.text("CDMANCIA"), r.text("DSMANUAL"), {}};
        manual.services.append({r.text("CDSERVICO"), r.text("SERVICO"), r.text("DSSERVICO"), r.text("CDCLASSE"),
                                r.text("CDCICLO"), r.text("SGCLASSE"), r.text("IDCICLO"),
                                int(r.number("NRSUBGRU"))});
    }
    return manual;
}

ServiceContent serviceFromParts(const QCborValue& value)
{
    if (!value.isMap())
        throw PacketError("o resultado não traz as partes do serviço");
    const QCborMap parts = value.toMap();
    ServiceContent content;
    const DataPacket subgroups = part(parts, "SUBGRUPOS");
    for (const Row& row : subgroups.rows) {
        const Reader r(subgroups, row);
        content.subgroups.append({r.text("CDSUBGRU"), r.text("CDESPEPRODSG"), r.text("CDSUBARV"), r.text("DSSUBGRU"),
                                  r.text("NRORDSUMA"), r.text("DSSUBGRUPO"), r.text("VRPELOADSUMA"),
                                  r.text("TXCOMSUMA"), r.date("DTAPRESUMA"), r.date("DTEFETSUMA"),
                                  r.date("DTREVISUMA"), r.text("CDSUBARVPRI"), r.text("DSSUBGRUPRI"),
                                  r.bytes("FGESPEPROD"), r.bytes("FGFOTOSUMA")});
    }
    const DataPacket equipment = part(parts, "EQUIPAMENTOS");
    for (const Row& row : equipment.rows) {
        const Reader r(equipment, row);
        content.equipment[r.text("CDESPEPROD")].append(
            {r.text("CDARVPROD"), r.text("NMPRODUTO"), r.text("NMCLASSIFICACAO"), r.text("SGUNIDADE"),
             r.number("QTEQUISUMA")});
    }
    const DataPacket products = part(parts, "PRODUTOS");
    for (const Row& row : products.rows) {
        const Reader r(products, row);
        content.products[r.text("CDESPEPROD")].append({r.text("ID"), r.text("NRORDEM"), r.text("CODIGO"),
                                                       r.text("NOME"), r.text("SGUNIDADE"), r.text("TXCOMENT"),
                                                       r.number("QUANTIDADE")});
    }
    return content;
}

QString loadingText(const QString& value)
{
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    return ok ? formatNumber(number, QStringLiteral("#####0%")) : value;
}

QString quantityText(double value)
{
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QString text = brazil.toString(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(brazil.decimalPoint()))
        text.chop(brazil.decimalPoint().size());
    return text;
}

}  // namespace qmv
