// The department tree of the shift-exchange window and the list query of the
// department chosen in it.

#include "ExchangeQueries.h"
#include "WorkWindow.h"

#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/treelist/cxtreelist.h"
#include "talvex/model/ShareObj.h"
#include "talvex/model/Sys_Dept.h"
#include "talvex/project/HostFactory.h"

#include <QHash>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int childImage = 1;
constexpr int childSelectedImage = 2;

// "[02]Name": the last two characters of the code (all of a shorter one).
QString displayName(const TSys_Dept *dept)
{
    return u'[' + dept->DeptCode.right(2) + u']' + dept->DeptName;
}

} // namespace

void TWorkWindowForm::LoadDeptTree()
{
    tlTypeList->beginUpdate();
    try {
        const QString sql = ExchangeQueries::departments(Host::deptScope());
        tlTypeList->clear();
        const TObjectHashedList *list =
            Host::db()->QueryObjectList(TSys_Dept::staticMetaObject, sql);
        if (!list) {
            tlTypeList->endUpdate();
            return;
        }

        // Rows come ordered by ID, which normally puts parents first. A department
        // whose parent comes later waits for it; one whose parent is not in the
        // list at all (or that sits in a cycle) is shown at the top level, so that
        // no department the operator may see is missing.
        QHash<TSys_Dept *, QList<TSys_Dept *>> waitingFor;
        std::function<void(TSys_Dept *, TcxTreeListNode *)> place =
            [&](TSys_Dept *dept, TcxTreeListNode *node) {
                node->setTexts(colDeptCode_list->index(), dept->DeptCode);
                node->setTexts(colDeptName_list->index(), displayName(dept));
                node->setData(dept);
                dept->TreeNode = node;
                for (TSys_Dept *child : waitingFor.take(dept)) {
                    TcxTreeListNode *childNode = node->addChild();
                    childNode->setImageIndex(childImage);
                    childNode->setSelectedIndex(childSelectedImage);
                    place(child, childNode);
                }
            };

        for (int i = 0; i < list->count(); ++i) {
            auto *dept = list->objectAt<TSys_Dept>(i);
            dept->TreeNode = nullptr;
            auto *parent = dept->ParentID == u"-1"_s
                ? nullptr
                : static_cast<TSys_Dept *>(list->FindObject(dept->ParentID));
            if (!parent || parent == dept) {
                place(dept, tlTypeList->add());
            } else if (parent->TreeNode) {
                TcxTreeListNode *node = parent->TreeNode->addChild();
                node->setImageIndex(childImage);
                node->setSelectedIndex(childSelectedImage);
                place(dept, node);
            } else {
                waitingFor[parent].append(dept);
            }
        }
        // Whatever still waits hangs on a cycle: show each at the top level.
        while (!waitingFor.isEmpty()) {
            const QList<TSys_Dept *> orphans = waitingFor.take(waitingFor.begin().key());
            for (TSys_Dept *dept : orphans) {
                if (!dept->TreeNode)
                    place(dept, tlTypeList->add());
            }
        }
    } catch (...) {
        tlTypeList->endUpdate();
        throw;
    }
    tlTypeList->endUpdate();

    tlTypeList->fullCollapse();
    if (tlTypeList->count() > 0) {
        TcxTreeListNode *first = tlTypeList->topNode(0);
        first->expand(false);
        tlTypeList->setFocusedNode(first);
    }
}

QString TWorkWindowForm::BuildDeptQuery() const
{
    if (tlTypeList->absoluteCount() == 0 || !tlTypeList->focusedNode())
        return QString();
    const QString code = tlTypeList->focusedNode()->texts(colDeptCode_list->index());
    return ExchangeQueries::byDepartment(code, edtBeginDate->text(), edtEndDate->text(),
                                         Host::deptScope());
}

void TWorkWindowForm::tlTypeListClick()
{
    FQuerySql = BuildDeptQuery();
    OpenExchangeQuery(FQuerySql);
}

void TWorkWindowForm::tlTypeListFocusedNodeChanged()
{
    FQuerySql = BuildDeptQuery();
    OpenExchangeQuery(FQuerySql);
}
