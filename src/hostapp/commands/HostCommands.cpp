#include "HostCommand.h"

#include "CheckRulesCommand.h"
#include "ExportXlsCommand.h"
#include "OperatorCommand.h"
#include "RosterCommand.h"
#include "RulesCommand.h"
#include "SqlCommand.h"

const QList<const HostCommand *> &hostCommands()
{
    static const SqlCommand sql;
    static const ExportXlsCommand exportXls;
    static const OperatorCommand operatorAdministration;
    static const CheckRulesCommand checkRules;
    static const RulesCommand rules;
    static const RosterCommand roster;
    static const QList<const HostCommand *> commands{
        &sql, &exportXls, &roster, &checkRules, &rules, &operatorAdministration};
    return commands;
}
