#include "HostFixture.h"

#include "talvex/project/HostFactory.h"

#include <QCoreApplication>
#include <QDir>

using namespace Qt::StringLiterals;

HostFixture::HostFixture(const QString &operatorCode)
    : log(QDir::temp().filePath(u"talvex-test-%1.log"_s.arg(QCoreApplication::applicationPid())))
    , session(fixture.desk(operatorCode), log, operatorCode)
    , root(new FactoryService(session))
{
    // Errors that leave a handler meet the host's default handling, as in talvex-host.
    application.setExceptionHandler(
        [this](const std::exception_ptr &error) { session.handleException(error); });
    Rt::setApplication(&application);
    Rt::setScreen(&screen);
    HostFactory = root;
    Rt::setMessageBoxResponder([this](const Rt::MessageBoxRequest &request) {
        messages << request;
        return answer;
    });
    QObject::connect(&session, &HostSession::errorRaised, &session,
                     [this](const QString &text) { raisedErrors << text; });
}

HostFixture::~HostFixture()
{
    Rt::setMessageBoxResponder({});
    HostFactory.reset();
    Rt::setApplication(nullptr);
    Rt::setScreen(nullptr);
}
