#pragma once

#include "HostCommand.h"

// talvex-host rules [list | CHANGE ...]: the working-time rules, their profiles
// and limits, the departments' profiles and coverage minima, listed or changed
// one setting at a time. A change is checked whole before anything is written;
// a refusal says why and changes nothing.
class RulesCommand : public HostCommand
{
public:
    QString name() const override;
    QString argumentsHelp() const override;
    QString help() const override;
    void checkArguments(const QStringList &arguments) const override;
    int run(const HostOptions &options, Database &db, ErrorLog &log) const override;
};
