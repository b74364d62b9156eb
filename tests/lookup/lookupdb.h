#pragma once
// A throw-away shared database for lookup tests: the four reference tables with a small set of
// rows, on a temporary SQLite file or, when QMV_TEST_PG names a database, in a private
// PostgreSQL schema dropped at the end. UI thread only.
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace qmv::test {

class LookupDb {
public:
    // driver "QSQLITE" or "QPSQL"; available() is false when PostgreSQL was not offered.
    explicit LookupDb(const QString& driver);
    ~LookupDb();
    LookupDb(const LookupDb&) = delete;
    LookupDb& operator=(const LookupDb&) = delete;

    bool available() const { return available_; }
    const QString& driver() const { return driver_; }
    // The name to hand to dtmDBGeral.
    const QString& name() const { return name_; }
    // Runs a statement on a writable connection; fails the test when it fails.
    void exec(const QString& sql);

private:
    void createTables();
    void fillRows();

    QString driver_;
    QString name_;
    QString writer_;
    QString schema_;
    bool available_ = false;
    std::unique_ptr<QTemporaryDir> dir_;
};

}  // namespace qmv::test
