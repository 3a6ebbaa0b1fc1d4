#include "BatchExchangeDialog.h"

#include "runtime/application.h"
#include "runtime/editors/checkbox.h"
#include "runtime/editors/memo.h"
#include "runtime/editors/timeedit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QWidget *periodRow(TcxTimeEdit *begin, TcxTimeEdit *end)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(begin);
    layout->addWidget(new QLabel(u"至"_s));
    layout->addWidget(end);
    layout->addStretch();
    return row;
}

} // namespace

BatchExchangeDialog::BatchExchangeDialog(const QString &summary, QWidget *parent)
    : QDialog(parent)
    , m_restDay(new TcxCheckBox(u"调休"_s))
    , m_reason(new TcxMemo)
    , m_remark(new TcxMemo)
{
    setWindowTitle(u"批量调班"_s);
    m_restDay->setObjectName(u"chkRestDay"_s);
    for (size_t i = 0; i < m_periods.size(); ++i) {
        m_periods[i] = new TcxTimeEdit;
        m_periods[i]->setObjectName(u"edtPeriod%1"_s.arg(i + 1));
    }
    m_reason->setObjectName(u"mmReason"_s);
    m_remark->setObjectName(u"mmRemark"_s);
    m_reason->setFixedHeight(48);
    m_remark->setFixedHeight(48);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(u"确定"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);

    auto *form = new QFormLayout(this);
    form->addRow(new QLabel(summary));
    form->addRow(QString(), m_restDay);
    form->addRow(u"时段一"_s, periodRow(m_periods[0], m_periods[1]));
    form->addRow(u"时段二"_s, periodRow(m_periods[2], m_periods[3]));
    form->addRow(u"调班原因"_s, m_reason);
    form->addRow(u"备注"_s, m_remark);
    form->addRow(buttons);

    connect(m_restDay, &QCheckBox::clicked, this,
            Rt::guarded(this, &BatchExchangeDialog::restDayClick));
    connect(buttons, &QDialogButtonBox::accepted, this,
            Rt::guarded(this, &BatchExchangeDialog::okClick));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

BatchExchange::Request BatchExchangeDialog::request() const
{
    const auto minutes = [](const TcxTimeEdit *box) {
        return qint16(box->time().hour() * 60 + box->time().minute());
    };
    Schedule::Periods periods;
    if (!m_restDay->isChecked()) {
        periods = {minutes(m_periods[0]), minutes(m_periods[1]), minutes(m_periods[2]),
                   minutes(m_periods[3])};
    }
    return {periods, m_reason->text(), m_remark->text()};
}

void BatchExchangeDialog::restDayClick()
{
    // As the editor's 调休 box: a rest day has no periods to enter.
    const bool restDay = m_restDay->isChecked();
    for (TcxTimeEdit *box : m_periods) {
        if (restDay)
            box->setTime(QTime(0, 0));
        box->setEnabled(!restDay);
    }
}

void BatchExchangeDialog::okClick()
{
    const QString refusal = BatchExchange::refusal(request());
    if (!refusal.isEmpty()) {
        Rt::messageBox(refusal, u"提示"_s, Rt::Buttons::Ok, Rt::Icon::Warning);
        return;
    }
    accept();
}
