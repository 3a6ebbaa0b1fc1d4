#include "columnwidths_p.h"

#include <QtGlobal>

namespace Rt::Internal {

QList<int> fittedWidths(const QList<ColumnExtent> &columns, int available)
{
    const qsizetype count = columns.size();
    QList<int> widths(count, 0);
    QList<bool> pinned(count, false);

    // Scaling a column up to its minimum takes width from the others, which may push
    // another one below its own: repeat until no column is left below its minimum.
    bool settled = false;
    while (!settled) {
        settled = true;
        int space = available;
        qint64 share = 0;
        for (qsizetype i = 0; i < count; ++i) {
            if (pinned[i])
                space -= columns[i].minWidth;
            else
                share += qMax(columns[i].width, 1);
        }
        if (share == 0) {
            for (qsizetype i = 0; i < count; ++i)
                widths[i] = columns[i].minWidth;
            break;
        }
        int given = 0;
        qsizetype last = -1;
        for (qsizetype i = 0; i < count; ++i) {
            if (pinned[i]) {
                widths[i] = columns[i].minWidth;
                continue;
            }
            widths[i] = int(qMax(space, 0) * qint64(qMax(columns[i].width, 1)) / share);
            given += widths[i];
            last = i;
            if (widths[i] < columns[i].minWidth) {
                pinned[i] = true;
                settled = false;
            }
        }
        // Rounding leftovers go to the last free column so that the row ends flush.
        if (settled && last >= 0)
            widths[last] += qMax(space, 0) - given;
    }
    return widths;
}

} // namespace Rt::Internal
