#pragma once
// The SQL behind GetSubGruSeMa: the sub-groups of one service of a manual, filtered by photo and
// instruction presence ("0" with, "1" without, "2" all); bound by branch, company, manual, service,
// class and cycle, in that order; and the fields its packet names the columns with. Any thread.
#include <QString>

#include "platform/packet.h"

namespace qmv::appserver {

QString subGruSeMaQuery(const QString& photoFilter, const QString& instructionFilter);
const QList<FieldDef>& subGruSeMaFields();

}  // namespace qmv::appserver
