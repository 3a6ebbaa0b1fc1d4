#pragma once

// A host for module tests: every service operation the module calls is recorded
// by name with its arguments, and answers come from scripts the test sets.

#include "hostapp/services/ComObject.h"
#include "talvex/host/FactoryIntf.h"
#include "talvex/model/BaseObj.h"

#include <QStringList>
#include <functional>
#include <memory>

class TcxImageComboBox;
class TcxStyleRepository;
class TDataSet;

class RecordingHost
{
public:
    RecordingHost();
    ~RecordingHost();

    IFactoryIntf *factory() const { return m_factory.get(); }

    // Every call, as "Operation(arg, arg)".
    QStringList calls;
    // The calls of one operation, arguments only.
    QStringList argumentsOf(const QString &operation) const;

    // Scripts; unset ones answer neutrally (0, empty, nothing).
    int rightLevel = 2;
    QString deptScope = QStringLiteral("('01')");
    double sysDate = 46361.0; // 2026-12-05
    std::function<TDataSet *(const QString &)> openQuery;
    std::function<QString(const QString &)> queryValue;
    std::function<bool(const QString &)> execSql;
    std::function<TObjectHashedList *(const QMetaObject &, const QString &)> queryObjectList;
    // Set to make GetStyleRepository fail.
    bool failStyleRepository = false;
    // Set to make both previews fail with this message.
    QString previewFailure;

    TBaseObj hostOperator;
    TcxStyleRepository *styleRepository() const { return m_styles.get(); }
    bool waitShown = false;

private:
    std::unique_ptr<TcxStyleRepository> m_styles;
    std::vector<std::unique_ptr<TcxImageComboBox>> m_combos;
    IntfPtr<IFactoryIntf> m_factory;

    friend class RecordingFactory;
    friend class RecordingDict;
};
