#include "WarningsPanel.h"

#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "talvex/project/HostFactory.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString waitingForAnExchange = u"选择员工和调班时间后显示工时提示"_s;

const QColor quiet(0x70, 0x70, 0x70);
const QColor warns(0x9a, 0x5b, 0x00);
const QColor blocks(0xc0, 0x00, 0x00);

void paint(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

WarningsPanel::WarningsPanel(QWidget *parent)
    : TcxGroupBox(parent)
    , m_layout(new QVBoxLayout(this))
{
    setObjectName(u"pnlWarnings"_s);
    setCaption(u"工时提示"_s);
    m_layout->setContentsMargins(12, 2, 8, 4);
    m_layout->setSpacing(1);
    m_layout->addStretch(1);
    showNote(waitingForAnExchange);
}

WarningsPanel::~WarningsPanel() = default;

void WarningsPanel::showWarnings(const ExchangeDraft &draft)
{
    if (draft.employeeCode.isEmpty() || !draft.day.isValid()) {
        m_readFor.clear();
        m_warnings.reset();
        m_note = waitingForAnExchange;
    } else {
        readFor(draft);
    }
    if (!m_warnings) {
        m_shown.clear();
        showNote(m_note);
        return;
    }
    m_shown = m_warnings->of(draft.periods);
    if (m_shown.empty())
        showNote(u"没有违反工时规则"_s);
    else
        showLines(m_shown);
}

QString WarningsPanel::refusal(const ExchangeDraft &draft)
{
    showWarnings(draft);
    QStringList refused;
    for (const ExchangeWarning &warning : m_shown) {
        if (warning.blocks)
            refused << warning.text;
    }
    if (refused.isEmpty())
        return {};
    return refused.join(u'\n') + u"\n违反以上工时规则，不能保存！"_s;
}

// A read that fails is not tried again until the employee, the day or the
// record changes: typing goes on undisturbed.
void WarningsPanel::readFor(const ExchangeDraft &draft)
{
    const QString key = draft.employeeCode + u'\n'
                        + Rt::DateTime::toDateText(Rt::DateTime::fromDate(draft.day)) + u'\n'
                        + draft.recordId;
    if (key == m_readFor)
        return;
    m_readFor = key;
    m_warnings.reset();
    try {
        m_warnings = std::make_unique<ExchangeWarnings>(
            ExchangeSurroundings::read(draft.employeeCode, draft.day, draft.recordId));
    } catch (const Rt::Abort &) {
        throw;
    } catch (...) {
        m_note = u"无法读取工时规则，不显示工时提示"_s;
        Host::log()->WriteErrorLog(u"读取工时规则失败!"_s + Rt::messageOf(std::current_exception()),
                                   0);
    }
}

void WarningsPanel::showNote(const QString &note)
{
    QLabel *label = line(0);
    label->setText(note);
    paint(label, quiet);
    fitLines(1);
}

void WarningsPanel::showLines(const std::vector<ExchangeWarning> &warnings)
{
    for (size_t i = 0; i < warnings.size(); ++i) {
        QLabel *label = line(i);
        label->setText(warnings[i].blocks ? warnings[i].text + u"（不能保存）"_s
                                          : warnings[i].text);
        paint(label, warnings[i].blocks ? blocks : warns);
    }
    fitLines(warnings.size());
}

QLabel *WarningsPanel::line(size_t index)
{
    while (m_lines.size() <= index) {
        auto *label = new QLabel(this);
        label->setObjectName(u"lblWarning"_s);
        m_layout->insertWidget(int(m_lines.size()), label);
        m_lines.push_back(label);
    }
    return m_lines[index];
}

// Lines beyond those shown are hidden; the panel asks for the room the shown
// ones need.
void WarningsPanel::fitLines(size_t shown)
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        m_lines[i]->setVisible(i < shown);
    const int lineHeight = m_lines.front()->sizeHint().height() + m_layout->spacing();
    const QMargins frame = contentsMargins() + m_layout->contentsMargins();
    Q_EMIT heightWanted(frame.top() + frame.bottom() + int(shown) * lineHeight);
}
