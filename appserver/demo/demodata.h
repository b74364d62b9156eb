#pragma once
// Fills an empty database with a demo a user can learn from: three branches, companies and their
// manuals, services with 5 to 40 sub-groups, photos, Portuguese instructions, equipment, products,
// recipes and parameters. Needs a QGuiApplication (the photos are drawn); its thread only.
#include "appserver/database/dbconfig.h"

#include <QString>

namespace qmv::appserver {

// Creates the schema when needed and the demo data when the database holds no branch yet; returns
// a one-line summary. Throws std::runtime_error (DatabaseError) on failure, writing nothing.
QString createDemoDatabase(const DbConfig& config);

}  // namespace qmv::appserver
