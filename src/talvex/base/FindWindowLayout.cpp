// The designed layout of the find dialog: positions, sizes, captions and tab order.

#include "FindWindow.h"

#include "runtime/controls/cxcontrols.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

void TFindWindowForm::buildLayout()
{
    setObjectName(u"FindWindowForm"_s);
    setCaption(u"查找"_s);
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(341, 72);

    Label1 = TcxLabel::place(this, u"Label1"_s, u"查找内容："_s, {7, 11});

    // The text is typed in whatever input method the desktop offers; Chinese input
    // follows the focus into the edit there.
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setGeometry(67, 7, 266, 20);

    auto button = [this](const QString &name, const QString &caption, int left) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(left, 38, 75, 25);
        return b;
    };
    Button1 = button(u"Button1"_s, u"查找&F"_s, 180);
    Button2 = button(u"Button2"_s, u"关闭&C"_s, 259);
    Button1->setDefault(true);
    setDefaultButton(Button1);
    setCancelButton(Button2);

    rb1 = new QRadioButton(u"向上"_s, this);
    rb1->setObjectName(u"rb1"_s);
    rb1->setGeometry(6, 42, 49, 17);
    rb2 = new QRadioButton(u"向下"_s, this);
    rb2->setObjectName(u"rb2"_s);
    rb2->setGeometry(54, 42, 49, 17);
    rb2->setChecked(true);
    chk1 = new QCheckBox(u"完全匹配"_s, this);
    chk1->setObjectName(u"chk1"_s);
    chk1->setGeometry(104, 42, 71, 17);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, rb1);
    setTabOrder(rb1, rb2);
    setTabOrder(rb2, chk1);
}
