#pragma once

#include "Fixture.h"

#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"

#include <QList>

// The real host over the fixture database, installed as the module's host: the
// module's statements run through the host's services against SQLite, errors
// that leave a handler meet the host's default handling. Message boxes are
// answered by `answer` and recorded in `messages`.
class HostFixture
{
public:
    explicit HostFixture(const QString &operatorCode = QStringLiteral("admin"));
    ~HostFixture();

    Fixture fixture;
    ErrorLog log;
    HostSession session;
    IntfPtr<IFactoryIntf> root;
    TApplication application;
    TScreen screen;

    QList<Rt::MessageBoxRequest> messages;
    Rt::Answer answer = Rt::Answer::Ok;

    // The fixture's own connection; the session works on the operator's
    // (Fixture::desk).
    Database &db() { return fixture.db(); }
    // Texts of the error messages RaiseError showed.
    QStringList raisedErrors;
};
