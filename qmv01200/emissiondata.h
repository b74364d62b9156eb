#pragma once
// What the manual emission prints, as plain values: the selection it starts from, the manual with its
// services, and the content of one service (sub-groups in classification order, each with its photo,
// instructions, equipment and products). Read from the application server's packets. Any thread.
#include <QByteArray>
#include <QCborValue>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include "platform/packet.h"

namespace qmv {

// Branch, company, manual and (for one service) the service, with the names the screen shows.
struct ManualSelection {
    QString branch, branchName;
    QString company, companyAbbrev, companyName;  // CDCIA, SGCIA, NMCIA
    QString manual, manualName;
    QString service, serviceCode, serviceName;    // CDSERVICO, the tree code, DSSERVICO
    QString serviceClass, cycle, classAbbrev, cycleName;
    QString serviceKey() const { return service + serviceClass + cycle; }
};

struct ServiceHeader {
    QString service, code, name, serviceClass, cycle, classAbbrev, cycleName;
    int subgroups = 0;
    QString key() const { return service + serviceClass + cycle; }
    QString title() const;  // "1.01.001 - Almoço - ECON - Ciclo 1"
};

struct ManualHeader {
    QString branch, branchName, company, companyAbbrev, companyName, manual, manualName;
    QList<ServiceHeader> services;
};

struct SubgroupEntry {
    QString subgroup, espeProd, code, name, order, printName, loading, observation;
    QDate presentation, effective, revision;
    QString principalCode, principalName;
    QByteArray photo, instructions;
};

struct EquipmentEntry {
    QString code, name, classification, unit;
    double quantity = 0;
};

struct ProductEntry {
    QString kind, order, code, name, unit, comment;  // kind "P" product, "R" recipe
    double quantity = 0;
};

struct ServiceContent {
    QList<SubgroupEntry> subgroups;
    QHash<QString, QList<EquipmentEntry>> equipment;  // by the sub-group's CDESPEPRODSG
    QHash<QString, QList<ProductEntry>> products;
};

// The rows of GetEmissaoManual; an empty packet gives a manual without services.
ManualHeader manualFromPacket(const DataPacket& packet);
// The map of packets of GetEmissaoServico; throws PacketError when a part is missing or malformed.
ServiceContent serviceFromParts(const QCborValue& parts);

// "#####0%": the loading value rounded to a whole number with a literal "%"; other text as it is.
QString loadingText(const QString& value);
// A quantity without needless decimals in the Brazilian notation ("2", "0,5", "1,25").
QString quantityText(double value);

}  // namespace qmv
