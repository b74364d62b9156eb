#pragma once
// A dataset filter expression: comparisons "(FIELD = 'value')" (also <>, <, >, <=, >= and bare
// numbers) joined by AND/OR/NOT with parentheses, compiled against field positions and tested on
// rows. A null value compares as the empty text. Plain value; any thread.
#include "platform/packet.h"

#include <functional>
#include <memory>

namespace qmv {

class FilterExpr {
public:
    struct Node;

    // resolveField maps a field name to its position in a row, -1 when unknown.
    // Throws DataSetError on an expression it cannot read or an unknown field.
    static FilterExpr parse(const QString& text, const std::function<int(const QString&)>& resolveField);

    FilterExpr();
    ~FilterExpr();
    FilterExpr(FilterExpr&&) noexcept;
    FilterExpr& operator=(FilterExpr&&) noexcept;

    bool isEmpty() const;  // an empty expression lets every row through
    bool matches(const Row& row) const;

private:
    std::unique_ptr<Node> root_;
};

}  // namespace qmv
