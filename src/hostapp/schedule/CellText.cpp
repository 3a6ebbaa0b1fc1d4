#include "CellText.h"

using namespace Qt::StringLiterals;

namespace CellText {

namespace {

QString period(int begin, int end)
{
    return Schedule::clockText(begin) + u'-' + Schedule::clockText(end);
}

const QString restText = u"休"_s;

} // namespace

QString periods(const Schedule::Periods &periods)
{
    if (periods.isRest())
        return restText;
    QString text = period(periods.period1Beg, periods.period1End);
    if (periods.hasPeriod2())
        text += u' ' + period(periods.period2Beg, periods.period2End);
    return text;
}

QString cell(const Schedule::Cell &cell)
{
    if (cell.source == Schedule::Source::None)
        return {};
    const QString text = cell.rest ? restText : periods(cell.periods);
    return cell.source == Schedule::Source::Exchange ? u'*' + text : text;
}

Table::Table()
    : m_texts{QString()}
{}

int Table::indexOf(const Schedule::Cell &cell)
{
    if (cell.source == Schedule::Source::None)
        return 0;
    // Every rest day reads 休, whatever periods a rest exchange may carry.
    const Schedule::Periods &p = cell.rest ? Schedule::Periods{} : cell.periods;
    const quint64 key = quint64(quint16(p.period1Beg)) | quint64(quint16(p.period1End)) << 16
                        | quint64(quint16(p.period2Beg)) << 32
                        | quint64(quint16(p.period2End)) << 48;
    const auto found = m_indexes.constFind(key);
    if (found != m_indexes.cend())
        return *found;
    m_texts.append(periods(p));
    m_indexes.insert(key, int(m_texts.size()) - 1);
    return int(m_texts.size()) - 1;
}

} // namespace CellText
