#pragma once
// The benchmark's database: a temporary SQLite file with the server's schema, one service of 1,000
// sub-groups (or services of the sizes asked for) and one photo, plus the SQL the server runs for
// GetSubGruSeMa, so that the bare query can be timed against the round trip. Main thread only.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "appserver/appserver.h"
#include "appserver/database/dbconfig.h"

namespace qmv::bench {

inline constexpr int kSubGroups = 1000;
inline constexpr int kPhotoBytes = 549999;

// A picture of kPhotoBytes whose content depends on `seed`.
QByteArray benchPhoto(int seed);

// The selection key of the benchmark's service.
struct BenchKey {
    QString branch = QStringLiteral("0001");
    QString company = QStringLiteral("0001");
    QString manual = QStringLiteral("0001");
    QString service = QStringLiteral("0000001001");
    QString serviceClass = QStringLiteral("0001");
    QString cycle = QStringLiteral("0001");
    QString photoSubGroup = QStringLiteral("B0001");
    QString photoCode = QStringLiteral("E0001");
};

class BenchDatabase {
public:
    // Service n (from 1) has the code 000000100n, the tree code 1.01.00n and services[n - 1]
    // sub-groups of their own; the photo belongs to the first sub-group. Throws std::runtime_error when the
    // database cannot be built.
    explicit BenchDatabase(const QList<int>& services = {kSubGroups}, const QByteArray& photo = benchPhoto(0));
    const appserver::DbConfig& config() const { return config_; }

private:
    QTemporaryDir dir_;
    appserver::DbConfig config_;
};

// The application server on the database, on a free port, two workers, no log; not started yet.
std::unique_ptr<appserver::AppServer> quietServer(const appserver::DbConfig& config);

// The statement of GetSubGruSeMa with both filters "2" (no restriction), as the server runs it.
QString subGroupQuery();

}  // namespace qmv::bench
