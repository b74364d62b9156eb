#pragma once
// The named parameters of a query text (":NAME" outside quoted strings), each a text or null.
// Plain values; no database access. Any thread.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

namespace qmv {

class QueryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class QueryParam {
public:
    explicit QueryParam(QString name) : name_(std::move(name)) {}

    const QString& name() const { return name_; }
    void setAsString(const QString& value) { value_ = value; null_ = false; }
    void clear() { value_.clear(); null_ = true; }
    bool isNull() const { return null_; }
    QString asString() const { return value_; }
    // The value to bind: a text, or a null typed as text so every driver sees a string column.
    QVariant bindValue() const;

private:
    QString name_;
    QString value_;
    bool null_ = true;
};

// The parameter names of an SQL text in order of first appearance, without the colon.
QStringList parameterNames(const QString& sql);

class QueryParams {
public:
    explicit QueryParams(const QString& sql);

    // Throws QueryError for a name the text does not use: a misspelt parameter would otherwise
    // leave the query running with a null.
    QueryParam& byName(const QString& name);
    const QList<QueryParam>& all() const { return params_; }

private:
    QList<QueryParam> params_;
};

}  // namespace qmv
