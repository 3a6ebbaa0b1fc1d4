#pragma once

#include <QTreeWidget>

class Database;

// The departments an operator may see, as the register's tree shows them
// ("[02] 一车间" under its parent), under one node for the whole scope. Choosing
// a node stands for that department and every one below it.
class DepartmentTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DepartmentTree(QWidget *parent = nullptr);

    // Fills the tree with the departments of scope and chooses the whole scope.
    void load(Database &db, const QString &scope);
    // The chosen department's code; empty for the whole scope.
    QString department() const;
    // Chooses the department of that code; false when the tree has none.
    bool choose(const QString &deptCode);

Q_SIGNALS:
    void departmentChosen(const QString &deptCode);
};
