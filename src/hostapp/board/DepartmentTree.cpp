#include "DepartmentTree.h"

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"

#include <QHash>
#include <QHeaderView>

using namespace Qt::StringLiterals;

namespace {

constexpr int CodeRole = Qt::UserRole;

// "[02] 一车间": the last two characters of the code, as the register shows it.
QString nodeText(const QString &code, const QString &name)
{
    return u"[%1]%2"_s.arg(code.right(2), name);
}

} // namespace

DepartmentTree::DepartmentTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(u"tvDepartments"_s);
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (current)
            Q_EMIT departmentChosen(current->data(0, CodeRole).toString());
    });
}

void DepartmentTree::load(Database &db, const QString &scope)
{
    const QSignalBlocker quiet(this);
    clear();
    auto *whole = new QTreeWidgetItem(this, {u"全部部门"_s});
    whole->setData(0, CodeRole, QString());

    // Rows by ID put a parent before its children; a department whose parent is
    // not in the scope hangs under the whole scope.
    const auto rows = db.select(
        u"SELECT ID, ParentID, DeptCode, DeptName FROM Sys_Dept WHERE DeptCode IN %1 ORDER BY ID"_s
            .arg(scope));
    QHash<QString, QTreeWidgetItem *> byId;
    for (int r = 0; r < rows->recordCount(); ++r) {
        QTreeWidgetItem *parentItem = byId.value(rows->asString(r, 1).trimmed(), whole);
        const QString code = rows->asString(r, 2);
        auto *item = new QTreeWidgetItem(parentItem, {nodeText(code, rows->asString(r, 3))});
        item->setData(0, CodeRole, code);
        item->setToolTip(0, code);
        byId.insert(rows->asString(r, 0).trimmed(), item);
    }
    whole->setExpanded(true);
    setCurrentItem(whole);
}

QString DepartmentTree::department() const
{
    return currentItem() ? currentItem()->data(0, CodeRole).toString() : QString();
}

bool DepartmentTree::choose(const QString &deptCode)
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->data(0, CodeRole).toString() == deptCode) {
            setCurrentItem(*it);
            return true;
        }
    }
    return false;
}
