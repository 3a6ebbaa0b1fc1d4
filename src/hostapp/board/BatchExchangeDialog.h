#pragma once

#include "BatchExchange.h"

#include <QDialog>

#include <array>

class TcxCheckBox;
class TcxMemo;
class TcxTimeEdit;

// Asks for what a batch exchange writes: 调休 or the four periods, a reason, a
// remark. OK is refused, with the editor's text, while the periods break a rule.
class BatchExchangeDialog : public QDialog
{
    Q_OBJECT
public:
    // summary: what the exchange is written on, e.g. "12 名员工，共 36 个日期".
    explicit BatchExchangeDialog(const QString &summary, QWidget *parent = nullptr);

    BatchExchange::Request request() const;

private:
    void restDayClick();
    void okClick();

    TcxCheckBox *m_restDay;
    std::array<TcxTimeEdit *, 4> m_periods{};
    TcxMemo *m_reason;
    TcxMemo *m_remark;
};
