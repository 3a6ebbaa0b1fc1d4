// Labels name the controls they stand before, for screen readers and for their
// mnemonics, without a form having to say so.

#include "runtime/accessibility.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString accessibleName(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void spokenText_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("full-width colon") << u"查询时间从："_s << u"查询时间从"_s;
        QTest::newRow("no colon") << u"至"_s << u"至"_s;
        QTest::newRow("padded") << u"姓    名："_s << u"姓名"_s;
        QTest::newRow("mnemonic group") << u"检索(&Q)"_s << u"检索"_s;
        QTest::newRow("full-width group") << u"取消（&C）"_s << u"取消"_s;
        QTest::newRow("mnemonic letter") << u"&Name:"_s << u"Name"_s;
        QTest::newRow("ampersand itself") << u"Save && close"_s << u"Save & close"_s;
        QTest::newRow("words keep their blank") << u"Job number :"_s << u"Job number"_s;
        QTest::newRow("mixed keeps its blank") << u"工号 ID："_s << u"工号 ID"_s;
    }

    void spokenText()
    {
        QFETCH(QString, caption);
        QFETCH(QString, spoken);
        QCOMPARE(Rt::spokenText(caption), spoken);
    }

    // Labels made just before their controls name them; headings and hints
    // name nothing; lines and panels between are passed over.
    void labelsNameTheControlMadeAfterThem()
    {
        TForm form;
        auto *heading = TcxLabel::place(&form, u"heading"_s, u"【员工选择】"_s, {5, 5});
        auto *dateLabel = TcxLabel::place(&form, u"dateLabel"_s, u"调班时间："_s, {5, 30});
        auto *hint = TcxLabel::place(&form, u"hint"_s, u"输入工号"_s, {100, 20});
        hint->setFocusControl(nullptr);
        new TBevel(&form);
        auto *date = new TcxDateEdit(&form);
        date->move(80, 30);
        auto *typeLabel = TcxLabel::place(&form, u"typeLabel"_s, u"调班类型："_s, {5, 60});
        auto *type = new TcxImageComboBox(&form);
        type->setItems(TcxImageComboBoxItems({{u"0"_s, u"调休"_s}, {u"1"_s, u"调班"_s}}));
        type->setEditValue(u"0"_s);
        type->move(80, 60);
        auto *unit = TcxLabel::place(&form, u"unit"_s, u"分钟"_s, {200, 60});
        form.show();

        QCOMPARE(heading->focusControl(), nullptr);
        QCOMPARE(dateLabel->buddy(), date);
        QCOMPARE(accessibleName(date), u"调班时间"_s);
        QCOMPARE(hint->focusControl(), nullptr);
        QCOMPARE(typeLabel->buddy(), type);
        // A combo box is named by its label; its item is its value.
        QCOMPARE(accessibleName(type), u"调班类型"_s);
        QCOMPARE(QAccessible::queryAccessibleInterface(type)->text(QAccessible::Value), u"调休"_s);
        QCOMPARE(unit->focusControl(), nullptr);

        typeLabel->setCaption(u"类型："_s);
        QCOMPARE(accessibleName(type), u"类型"_s);
    }

    // A label's mnemonic focuses its control. The part of a grid that takes the
    // focus carries the grid's name; a name a form gives a control itself stays.
    void namesAndMnemonicsReachWhatTheFocusMeets()
    {
        TForm form;
        auto *grid = new TcxGrid(&form);
        Rt::setAccessibleName(grid, u"调班记录"_s);
        auto *first = new TcxTextEdit(&form);
        TcxLabel::place(&form, u"label"_s, u"备注(&R)："_s, {5, 40});
        auto *remark = new TcxTextEdit(&form);
        remark->move(80, 40);
        auto *label = TcxLabel::place(&form, u"conditionLabel"_s, u"条件："_s, {5, 80});
        auto *edit = new TcxTextEdit(&form);
        edit->setAccessibleName(u"检索条件"_s);
        edit->move(80, 80);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        first->setFocus();
        QTest::keyClick(first, Qt::Key_R, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), remark);
        QCOMPARE(accessibleName(remark), u"备注"_s);
        QVERIFY(grid->focusProxy());
        QCOMPARE(accessibleName(grid->focusProxy()), u"调班记录"_s);
        QCOMPARE(label->buddy(), edit);
        QCOMPARE(accessibleName(edit), u"检索条件"_s);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
