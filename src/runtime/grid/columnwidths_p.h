#pragma once

#include <QList>

namespace Rt::Internal {

struct ColumnExtent
{
    int width = 0;
    int minWidth = 0;
};

// Widths that share `available` pixels among the columns in proportion to their own
// widths, none below its minimum; the sum exceeds `available` only when the minimums
// alone do.
QList<int> fittedWidths(const QList<ColumnExtent> &columns, int available);

} // namespace Rt::Internal
