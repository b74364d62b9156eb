#pragma once
// The texts of a product/recipe row that need no window: the classification order stored for
// typed text and the item code as the grid shows it. Pure functions; any thread.
#include <QString>

namespace qmv {

// Typed text right-aligned to three digits ("7" stores "007"); blank text stays empty, so that a
// cleared order is refused on post instead of being stored as "000".
QString productOrder(const QString& typed);

// The code through the hierarchical-code mask for a product ("P") or a recipe ("R"); nothing for
// any other kind of item.
QString productCodeText(const QString& id, const QString& code, const QString& codeMask);

}  // namespace qmv
