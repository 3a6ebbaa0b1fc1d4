#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>

class TcxGridColumn;
class TcxGridTableView;
class TDataSet;

// The find dialog's test of one cell. A cell is null (an invalid QVariant), a text,
// a number or a date-time (QDate or QDateTime). Part of the value: the value as the
// data shows it as text contains the search text. Whole value: a text is exactly
// the search text; a number or date-time equals the search text read as one.
// Letter case always counts, and so do blanks: "540 " is no number.
class FindPattern
{
public:
    FindPattern(const QString &text, bool wholeValue);

    bool matches(const QVariant &value) const;

    // A value written as text: numbers as the data set writes them, date-times as
    // "yyyy-mm-dd" with the time of day when there is one.
    static QString textOf(const QVariant &value);

private:
    QString m_text;
    bool m_wholeValue;
    // The search text read as a number or a date-time, when it reads as one.
    std::optional<double> m_number;
    std::optional<qint64> m_msecs;
};

// Reads the cells of a grid view with their types. A bound view's data set shows
// date-times as text; here they come as QDateTime, so that they compare as dates.
class GridCellReader
{
public:
    explicit GridCellReader(const TcxGridTableView *view);

    QVariant value(int record, const TcxGridColumn *column) const;

private:
    const TcxGridTableView *m_view;
    const TDataSet *m_dataSet = nullptr;
    // Column index to data set field, for the columns that show date-times.
    QHash<int, int> m_dateFields;
};
