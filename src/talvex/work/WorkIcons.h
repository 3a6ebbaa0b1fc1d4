#pragma once

#include <QIcon>
#include <QList>

// The window's icons, drawn rather than shipped as files.
namespace WorkIcons {

enum class Command { Add, Update, Delete };

// 32 x 32 icons of the toolbar commands.
QIcon command(Command which);
// 16 x 16 magnifier of the search button.
QIcon search();
// The department tree's five 16 x 16 images: 0 company, 1 department, 2 chosen
// department, 3 open branch, 4 closed branch.
QList<QIcon> departmentImages();

} // namespace WorkIcons
