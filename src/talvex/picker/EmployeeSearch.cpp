#include "EmployeeSearch.h"

#include "runtime/dataset.h"
#include "talvex/model/HR_Employee.h"
#include "talvex/model/SqlText.h"

#include <QMetaProperty>

using namespace Qt::StringLiterals;

namespace EmployeeSearch {

QString trimmed(const QString &condition)
{
    const auto blank = [](QChar c) { return c.unicode() <= u' '; };
    qsizetype begin = 0;
    qsizetype end = condition.size();
    while (begin < end && blank(condition.at(begin)))
        ++begin;
    while (end > begin && blank(condition.at(end - 1)))
        --end;
    return condition.sliced(begin, end - begin);
}

QString statement(const QString &condition, int mode)
{
    const QString text = SqlText::escaped(SqlText::upperAscii(trimmed(condition)));
    if (mode == allStatuses) {
        return u" select * from HR_Employee  where DELETED=0  and (upper(JobNumber) like '%"_s
               + text + u"%' "_s + u" or upper(REGEXP_REPLACE(Trim(personName),' ','')) like '%"_s
               + text + u"%'"_s + u" or upper(PyCode) like '%"_s + text + u"%')"_s;
    }
    return u" select * from HR_Employee  where WorkStatus in (0,4) and DELETED=0 and "
           "(upper(JobNumber) like '%"_s
           + text + u"%' "_s + u" or upper(REGEXP_REPLACE(Trim(personName),' ','')) like '%"_s
           + text + u"%' "_s + u" or upper(PyCode) like '%"_s + text + u"%')"_s;
}

QString departments()
{
    return u" select DeptCode,DeptName from Sys_Dept"_s;
}

QString stations()
{
    return u" select StationCode,StationName from HR_StationInfo"_s;
}

void fill(THR_Employee &employee, const TDataSet &result)
{
    const QMetaObject &meta = THR_Employee::staticMetaObject;
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        const QString name = QString::fromLatin1(property.name());
        // The pinyin initials are only searched, never handed on.
        if (name == u"PyCode"_s)
            continue;
        const TField field = result.fieldByName(name);
        switch (property.typeId()) {
        case QMetaType::QString:
            property.write(&employee, field.asString());
            break;
        case QMetaType::Int:
            property.write(&employee, int(field.asInteger()));
            break;
        case QMetaType::Double: // the entity's date-times
            property.write(&employee, field.asDateTime());
            break;
        }
    }
}

} // namespace EmployeeSearch
