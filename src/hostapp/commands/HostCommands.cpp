#include "HostCommand.h"

#include "ExportXlsCommand.h"
#include "SqlCommand.h"

const QList<const HostCommand *> &hostCommands()
{
    static const SqlCommand sql;
    static const ExportXlsCommand exportXls;
    static const QList<const HostCommand *> commands{&sql, &exportXls};
    return commands;
}
