#pragma once
// What the web view shows, read from the tables the main screen's panel and sub-group sheet use:
// the branches, companies, manuals and services to choose from, and a service's sub-groups in
// classification order with their photo, instructions, equipment, products and recipes. Read only;
// runs on a worker thread with that worker's connection.
#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QVector>
#include <optional>

namespace qmv::appserver {

struct ServiceRef {
    QString branch, company, manual, service, serviceClass, cycle;
};

struct Choice {
    QString code;   // the path segment(s) that choose it
    QString label;
};

struct LineItem {
    QString name, quantity, unit, note;
    bool recipe = false;
};

struct SubGroupView {
    QString code, espeProd, order, treeCode, name, description, weight, comment, principal;
    QString approved, effective, revised;  // dd/mm/aaaa or empty
    QByteArray photoDigest;                // hex; empty without a photo
    QString instructionsHtml;
    bool instructionsUnreadable = false;
    QVector<LineItem> equipment, products;
};

struct ServiceView {
    QString title, company, manual;
    QVector<SubGroupView> subGroups;
};

struct StoredPhoto {
    QString branch;
    QByteArray bytes;
};

class WebData {
public:
    explicit WebData(QSqlDatabase db) : db_(std::move(db)) {}

    QVector<Choice> branches() const;
    QVector<Choice> companies(const QString& branch) const;
    QVector<Choice> manuals(const QString& branch, const QString& company) const;
    // Codes are "<service>/<class>/<cycle>".
    QVector<Choice> services(const QString& branch, const QString& company, const QString& manual) const;

    // Nothing when the service is not in that manual. `onlySubGroup` keeps just that sub-group.
    std::optional<ServiceView> service(const ServiceRef& ref, const QString& onlySubGroup = {}) const;

    // The photo of a sub-group (CDSUBGRU, CDESPEPRODSG) and the branch whose manual holds it.
    std::optional<StoredPhoto> photo(const QString& subGroup, const QString& espeProd) const;

private:
    QVector<Choice> choices(const QString& sql, const QVariantList& params) const;
    void addItems(const ServiceRef& ref, ServiceView& view) const;

    QSqlDatabase db_;
};

}  // namespace qmv::appserver
