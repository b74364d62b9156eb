#pragma once
// The web view's pages as HTML, in Portuguese: the choice lists, a service's sub-groups and the
// sign-in form. Every value from the database is escaped; instructions come as safe HTML already
// (platform/rtfhtml.h). Plain functions; any thread.
#include "appserver/web/webdata.h"

#include <QByteArray>
#include <QString>

namespace qmv::appserver {

inline constexpr char WebRoot[] = "/manual";

// "/manual/<branch>/<company>/<manual>/<service>/<class>/<cycle>", each segment percent-encoded.
QString servicePath(const ServiceRef& ref);

// A whole page: `back` is the link of the level above (none when empty).
QByteArray webPage(const QString& title, const QString& body, const QString& back = {});

// A list of links, each to `base` + "/" + the choice's code.
QString choiceList(const QString& heading, const QVector<Choice>& choices, const QString& base);

QString serviceBody(const ServiceRef& ref, const ServiceView& service);
QString subGroupArticle(const SubGroupView& subGroup);

QString signInBody(const QString& message);
QString messageBody(const QString& message);

}  // namespace qmv::appserver
