#include "HostCommand.h"

#include "ExportXlsCommand.h"
#include "RosterCommand.h"
#include "SqlCommand.h"

const QList<const HostCommand *> &hostCommands()
{
    static const SqlCommand sql;
    static const ExportXlsCommand exportXls;
    static const RosterCommand roster;
    static const QList<const HostCommand *> commands{&sql, &exportXls, &roster};
    return commands;
}
