#pragma once

#include "talvex/work/WorkWindow.h"

#include <QDate>
#include <QStringList>

class TcxGridDBTableView;

// The list window as the host docks it: right code 1001 in its Tag, initialised
// and shown, by then listing the given range (the fixture's November and early
// December unless told otherwise).
struct ListWindow
{
    explicit ListWindow(const QDate &begin = {2026, 11, 1}, const QDate &end = {2026, 12, 5});
    ~ListWindow();

    template <typename T = QWidget> T *child(const QString &name) const
    {
        return form.findChild<T *>(name);
    }
    TcxGridDBTableView *view() const;
    // "code day" of each row, in order.
    QStringList rows() const;
    // The captions of the visible columns, then each row's texts in them.
    QList<QStringList> shown() const;
    void focusRow(int row) const;
    // The filter bar's search, type "-1" for every type.
    void search(const QString &text = {}, const QString &type = QStringLiteral("-1")) const;

    TWorkWindowForm form;
};
