#pragma once
// The structure of hierarchical codes ("9.99.999;1; " is a code of three levels, 1, 2 and 3 digits
// wide), and the host routines DBPict/DBPictObj that give it for a picture type. Plain value.
#include <QList>
#include <QString>

namespace qmv {

class CodeStructure {
public:
    explicit CodeStructure(const QString& editMask);

    const QString& editMask() const { return mask_; }
    int GetTtNiveis() const { return static_cast<int>(widths_.size()); }
    // Characters of each level, from the top.
    const QList<int>& levelWidths() const { return widths_; }

private:
    QString mask_;
    QList<int> widths_;
};

// The edit mask of hierarchical codes for a picture type. Type 0 (codes of products and
// sub-groups) is the host's configured code mask; any other type throws std::out_of_range.
QString DBPict(int pictureType);
CodeStructure DBPictObj(int pictureType);

}  // namespace qmv
