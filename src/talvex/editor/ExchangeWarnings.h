#pragma once

#include "ExchangeSurroundings.h"

#include <QString>

#include <vector>

// One working-time warning of the exchange being typed, worded for the operator.
struct ExchangeWarning
{
    Schedule::Rule rule = Schedule::Rule::DailyMax;
    QString text;
    // Its rule is set to block and the exchange brings the breach about or
    // makes it worse: OK refuses the exchange.
    bool blocks = false;
};

// Works out the warnings of the typed periods over surroundings read once: every
// breach of the employee's rules and of the departments' minima whose days take
// in the exchange day. A breach that the day has anyway, without the exchange,
// still shows; it blocks only where the exchange makes it worse, so that an
// exchange that relieves a breach is never refused for it.
class ExchangeWarnings
{
public:
    explicit ExchangeWarnings(ExchangeSurroundings surroundings);

    std::vector<ExchangeWarning> of(const Schedule::Periods &periods);

private:
    // The breaches with m_surroundings.exchanges[0], the typed exchange.
    std::vector<Schedule::Breach> breaches() const;
    QString textOf(const Schedule::Breach &breach) const;

    ExchangeSurroundings m_surroundings;
    std::vector<Schedule::Breach> m_without;
};
