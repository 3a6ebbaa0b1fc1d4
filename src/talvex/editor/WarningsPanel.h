#pragma once

#include "ExchangeWarnings.h"

#include "runtime/controls/groupbox.h"

#include <QDate>

#include <memory>
#include <vector>

class QLabel;
class QVBoxLayout;

// The exchange as the editor holds it while the operator types.
struct ExchangeDraft
{
    QString employeeCode;
    QDate day;
    QString recordId; // the record being changed; empty for a new one
    Schedule::Periods periods;
};

// The working-time warnings of the exchange being typed, under the editor's
// designed controls. It reads the surroundings when the employee, the day or the
// record changes and works the warnings out again, in memory, on every change of
// the periods. When the rules cannot be read it says so and stays out of the way:
// the editor then works as it does without it.
class WarningsPanel : public TcxGroupBox
{
    Q_OBJECT
public:
    explicit WarningsPanel(QWidget *parent = nullptr);
    ~WarningsPanel() override;

    void showWarnings(const ExchangeDraft &draft);
    // Shows draft's warnings and gives the text with which OK refuses it, for
    // the rules set to block that it breaks; empty when nothing blocks.
    QString refusal(const ExchangeDraft &draft);

Q_SIGNALS:
    // The height the panel needs for its lines.
    void heightWanted(int height);

private:
    void readFor(const ExchangeDraft &draft);
    void showNote(const QString &note);
    void showLines(const std::vector<ExchangeWarning> &warnings);
    QLabel *line(size_t index);
    void fitLines(size_t shown);

    QVBoxLayout *m_layout;
    std::vector<QLabel *> m_lines;
    // What the warnings were last read for: employee, day and record.
    QString m_readFor;
    std::unique_ptr<ExchangeWarnings> m_warnings;
    // Why there are none to work out (no employee yet, the rules unreadable).
    QString m_note;
    std::vector<ExchangeWarning> m_shown;
};
