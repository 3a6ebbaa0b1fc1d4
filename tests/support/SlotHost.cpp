#include "SlotHost.h"

#include "runtime/dataset.h"
#include "runtime/styles.h"
#include "talvex/model/BaseObj.h"

#include <QUuid>

using namespace Qt::StringLiterals;

namespace SlotHost {

namespace {

template <int I>
long queryInterface(void *, const QUuid &, void **object)
{
    *object = nullptr;
    return long(0x80004002);
}
template <int I>
unsigned long addRef(void *)
{
    return ++references[I];
}
template <int I>
unsigned long release(void *)
{
    return --references[I];
}

Table<Factory, 16> factory;
Table<Log, 7> logIntf;
Table<Main, 21> mainIntf;
Table<Rights, 27> rights;
Table<Printer, 7> printer;
Table<Db, 41> db;

TBaseObj *hostOperator()
{
    static TBaseObj op;
    op.ID = u"OP1"_s;
    return &op;
}

TcxStyleRepository *styleRepository()
{
    static TcxStyleRepository repository;
    return &repository;
}

template <int I, typename Table>
void serveBase(Table &table)
{
    table.serve(0, &queryInterface<I>);
    table.serve(1, &addRef<I>);
    table.serve(2, &release<I>);
}

void setUp()
{
    serveBase<Factory>(factory);
    serveBase<Log>(logIntf);
    serveBase<Main>(mainIntf);
    serveBase<Rights>(rights);
    serveBase<Printer>(printer);
    serveBase<Db>(db);

    factory.serve(3, +[](void *) -> TBaseObj * {
        calls << u"GetOperator"_s;
        return hostOperator();
    });
    factory.serve(6, +[](void *, void **result) {
        calls << u"GetLogIntf"_s;
        ++references[Log];
        *result = &logIntf.object;
    });
    factory.serve(9, +[](void *, void **result) {
        calls << u"GetPrinterIntf"_s;
        ++references[Printer];
        *result = &printer.object;
    });
    factory.serve(12, +[](void *, void **result) {
        calls << u"GetDbIntf"_s;
        ++references[Db];
        *result = &db.object;
    });
    factory.serve(10, +[](void *, void **result) {
        calls << u"GetMainIntf"_s;
        ++references[Main];
        *result = &mainIntf.object;
    });
    factory.serve(15, +[](void *, void **result) {
        calls << u"GetRightManagerIntf"_s;
        ++references[Rights];
        *result = &rights.object;
    });
    logIntf.serve(5, +[](void *, const QString &message, int kind) {
        calls << u"RaiseError(%1,%2)"_s.arg(message).arg(kind);
        throw Rt::Abort();
    });
    logIntf.serve(6, +[](void *, const QString &text, int kind) {
        calls << u"WriteErrorLog(%1,%2)"_s.arg(text).arg(kind);
    });
    printer.serve(3, +[](void *, QObject *component, int options, const QString &unitCode,
                         const QString &formName) {
        calls << u"PreviewControl(%1,%2,%3,%4)"_s.arg(component->objectName())
                     .arg(options)
                     .arg(unitCode, formName);
    });
    printer.serve(4, +[](void *, QObject *component, int options, const QString &unitCode,
                         const QString &formName) {
        calls << u"PreviewControl2(%1,%2,%3,%4)"_s.arg(component->objectName())
                     .arg(options)
                     .arg(unitCode, formName);
    });
    db.serve(11, +[](void *, const QString &sql) -> TDataSet * {
        calls << u"OpenQuery(%1)"_s.arg(sql);
        auto *rows = new TDataSet;
        const int code = rows->addField(u"EmployeeCode"_s, TFieldType::String);
        rows->setString(rows->appendRecord(), code, u"E001"_s);
        rows->finishLoading();
        return rows;
    });
    mainIntf.serve(3, +[](void *) -> double {
        calls << u"GetSysDate"_s;
        return 46361.5; // 2026-12-05 12:00
    });
    mainIntf.serve(6, +[](void *, const QString &text) {
        calls << u"ShowWaitMessage(%1)"_s.arg(text);
        waitShown = true;
    });
    mainIntf.serve(7, +[](void *) {
        calls << u"HideWaitMessage"_s;
        waitShown = false;
    });
    mainIntf.serve(13, +[](void *) -> TcxStyleRepository * {
        calls << u"GetStyleRepository"_s;
        return styleRepository();
    });
    rights.serve(20, +[](void *, const QString &code) -> int {
        calls << u"GetRight(%1)"_s.arg(code);
        return rightLevel;
    });
    rights.serve(26, +[](void *, const QString &operatorId, QString &scope) {
        calls << u"GetDeptScope(%1)"_s.arg(operatorId);
        scope = u"('01')"_s;
    });
}

} // namespace

void *root()
{
    static const bool ready = (setUp(), true);
    Q_UNUSED(ready);
    return &factory.object;
}

} // namespace SlotHost
