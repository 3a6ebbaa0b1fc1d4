#include "BoardPrint.h"

#include "BoardModel.h"

using namespace Qt::StringLiterals;

PrintTable boardPrintTable(const BoardModel &model, const QString &title)
{
    const BoardData &board = model.board();
    PrintTable table;
    table.title = title + u"（* 调班　! 违反工时规则　不足：低于最少在岗人数）"_s;
    for (int c = 0; c < model.columnCount(); ++c) {
        table.captions << model.headerData(c, Qt::Horizontal).toString().replace(u'\n', u' ');
        table.alignments << (c < BoardModel::FirstDay ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    table.rows.reserve(model.rowCount());
    for (int e = 0; e < model.rowCount(); ++e) {
        QStringList cells;
        for (int c = 0; c < BoardModel::FirstDay; ++c)
            cells << model.index(e, c).data().toString();
        for (int d = 0; d < board.dayCount(); ++d) {
            const bool breaks = board.cell(e, d).flags & BoardData::BreaksRule;
            cells << (breaks ? model.dayText(e, d) + u'!' : model.dayText(e, d));
        }
        table.rows << cells;
    }
    table.footer << u"在岗人数"_s << QString() << QString();
    for (int d = 0; d < board.dayCount(); ++d) {
        const QString count = QString::number(board.workingCounts.at(size_t(d)));
        table.footer << (board.coverageBreaches.contains(d) ? count + u" 不足"_s : count);
    }
    return table;
}
