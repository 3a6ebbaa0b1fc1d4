#include "HostCommand.h"

#include "ExportXlsCommand.h"
#include "OperatorCommand.h"
#include "SqlCommand.h"

const QList<const HostCommand *> &hostCommands()
{
    static const SqlCommand sql;
    static const ExportXlsCommand exportXls;
    static const OperatorCommand operatorAdministration;
    static const QList<const HostCommand *> commands{&sql, &exportXls, &operatorAdministration};
    return commands;
}
