#include "runtime/editors/cxeditors.h"
#include "runtime/styles.h"

#include <QCalendarWidget>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A shown window around an editor the test owns, with a second line edit to take
// the focus away.
struct Window
{
    QWidget widget;
    QWidget *editor;
    QLineEdit *elsewhere = new QLineEdit(&widget);

    explicit Window(QWidget *editor)
        : editor(editor)
    {
        auto *layout = new QVBoxLayout(&widget);
        layout->addWidget(editor);
        layout->addWidget(elsewhere);
        widget.show();
        widget.activateWindow();
    }
    ~Window() { editor->setParent(nullptr); }
};

template <typename Editor> void checkUpperCaseTyping()
{
    Editor edit;
    Window window(&edit);
    QVERIFY(QTest::qWaitForWindowActive(&window.widget));
    edit.setFocus();
    edit.setCharCase(Rt::CharCase::Upper);
    QTest::keyClicks(&edit, u"abcd"_s);
    QCOMPARE(edit.text(), u"ABCD"_s);
    edit.setCursorPosition(2);
    QTest::keyClicks(&edit, u"xy"_s);
    QCOMPARE(edit.text(), u"ABXYCD"_s);
    QCOMPARE(edit.cursorPosition(), 4);

    edit.setCharCase(Rt::CharCase::Normal);
    QTest::keyClicks(&edit, u"z"_s);
    QCOMPARE(edit.text(), u"ABXYzCD"_s);
}

TcxImageComboBoxItems shifts()
{
    TcxImageComboBoxItems items;
    items.add(u"01"_s, u"白班"_s, 0);
    items.add(u"02"_s, u"夜班"_s);
    return items;
}

} // namespace

class EditorsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void upperCaseTypingKeepsTheCaret()
    {
        checkUpperCaseTyping<TcxTextEdit>();
        if (QTest::currentTestFailed())
            return;
        checkUpperCaseTyping<TcxButtonEdit>();
    }

    // Buttons sit inside the edit, the text stopping before them; a click, also
    // on a read-only edit, reports which one.
    void buttonEditReportsWhichButton()
    {
        TcxButtonEdit edit;
        QCOMPARE(edit.addButton(u"+"_s), 1);
        edit.setReadOnly(true);
        edit.resize(160, 21);
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowExposed(&window.widget));
        const QList<QToolButton *> buttons = edit.findChildren<QToolButton *>();
        QCOMPARE(buttons.size(), 2);
        QVERIFY(edit.rect().contains(buttons.at(1)->geometry()));
        QVERIFY(buttons.at(0)->geometry().right() < buttons.at(1)->geometry().left());
        QVERIFY(edit.textMargins().right() >= buttons.at(0)->width() + buttons.at(1)->width());

        QSignalSpy clicks(&edit, &TcxButtonEdit::buttonClick);
        QTest::mouseClick(buttons.at(1), Qt::LeftButton);
        QTest::mouseClick(buttons.at(0), Qt::LeftButton);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(clicks.at(0).at(0).toInt(), 1);
        QCOMPARE(clicks.at(1).at(0).toInt(), 0);
    }

    // The edit value selects its item; filling or rebuilding the list is no
    // choice of the user's and keeps the value while its item is there.
    void imageComboBoxEditValue()
    {
        TcxImageComboBox combo;
        combo.setItems(shifts());
        QCOMPARE(combo.editValue(), QString());
        combo.setEditValue(u"02"_s);
        QCOMPARE(combo.currentText(), u"夜班"_s);
        QSignalSpy indexChanges(&combo, &QComboBox::currentIndexChanged);
        combo.items().add(u"03"_s, u"休息"_s);
        combo.itemsChanged();
        QCOMPARE(combo.itemText(2), u"休息"_s);
        QCOMPARE(combo.editValue(), u"02"_s);
        combo.items().clear();
        combo.items().add(u"01"_s, u"白班"_s);
        combo.itemsChanged();
        QCOMPARE(combo.editValue(), QString());
        QCOMPARE(indexChanges.count(), 0);
        combo.setEditValue(u"99"_s);
        QCOMPARE(combo.currentIndex(), -1);
    }

    // Typed text counts once it is a whole "yyyy-mm-dd" date; when editing ends, a
    // shorter form of a date counts too, and on anything else the last date comes
    // back.
    void dateEditTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<QDate>("whileTyping");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("changes");
        const QDate before(2024, 1, 15);
        QTest::newRow("valid") << u"2024-03-05"_s << u"2024-03-05"_s << QDate(2024, 3, 5)
                               << QDate(2024, 3, 5) << 1;
        QTest::newRow("no such day") << u"2024-02-30"_s << u"2024-01-15"_s << before << before << 0;
        QTest::newRow("no such month")
            << u"2024-13-01"_s << u"2024-01-15"_s << before << before << 0;
        QTest::newRow("short form")
            << u"2024-3-5"_s << u"2024-03-05"_s << before << QDate(2024, 3, 5) << 1;
        QTest::newRow("words") << u"tomorrow"_s << u"2024-01-15"_s << before << before << 0;
        QTest::newRow("nothing") << QString() << QString() << QDate() << QDate() << 1;
    }

    void dateEditTypedText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shownAfter);
        QFETCH(QDate, whileTyping);
        QFETCH(QDate, date);
        QFETCH(int, changes);

        TcxDateEdit edit;
        edit.setDate(QDate(2024, 1, 15));
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        edit.setFocus();
        edit.selectAll();
        QSignalSpy changed(&edit, &TcxDateEdit::dateChanged);
        if (typed.isEmpty())
            QTest::keyClick(&edit, Qt::Key_Delete);
        else
            QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.date(), whileTyping);
        window.elsewhere->setFocus();
        QCOMPARE(edit.text(), shownAfter);
        QCOMPARE(edit.date(), date);
        QCOMPARE(changed.count(), changes);
    }

    void dateEditClosesUpAfterPickOrDismiss()
    {
        TcxDateEdit edit;
        edit.setDate(QDate(2024, 5, 10));
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        QSignalSpy closeUps(&edit, &TcxDateEdit::closeUp);
        QSignalSpy changed(&edit, &TcxDateEdit::dateChanged);
        QStringList order;
        connect(&edit, &TcxDateEdit::dateChanged, &edit, [&] { order << u"date"_s; });
        connect(&edit, &TcxDateEdit::closeUp, &edit, [&] { order << u"closeUp"_s; });

        // Picked: the next day, with the keyboard.
        edit.dropDown();
        QVERIFY(edit.isDroppedDown());
        auto *calendar = edit.findChild<QCalendarWidget *>();
        QVERIFY(calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2024, 5, 10));
        QVERIFY(calendar->mapToGlobal(QPoint(0, 0)).y()
                >= edit.mapToGlobal(QPoint(0, edit.height())).y());
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(calendar->isAncestorOf(focus));
        QTest::keyClick(focus, Qt::Key_Right);
        QTest::keyClick(focus, Qt::Key_Return);
        QVERIFY(!edit.isDroppedDown());
        QCOMPARE(edit.date(), QDate(2024, 5, 11));
        QCOMPARE(edit.text(), u"2024-05-11"_s);
        QCOMPARE(order, (QStringList{u"date"_s, u"closeUp"_s}));

        // Dismissed: Esc closes the popup and keeps the date.
        edit.dropDown();
        QVERIFY(edit.isDroppedDown());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!edit.isDroppedDown());
        QCOMPARE(closeUps.count(), 2);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(edit.date(), QDate(2024, 5, 11));

        // A read-only edit keeps its popup shut.
        edit.setReadOnly(true);
        edit.dropDown();
        QVERIFY(!edit.isDroppedDown());
    }

    void timeEditText()
    {
        TcxTimeEdit edit;
        QSignalSpy changed(&edit, &TcxTimeEdit::changed);
        edit.setText(u"08:05"_s);
        QCOMPARE(edit.time(), QTime(8, 5));
        QCOMPARE(edit.text(), u"08:05"_s);
        QCOMPARE(changed.count(), 1);

        edit.setText(u"25:00"_s);
        edit.setText(u"8.30"_s);
        QCOMPARE(edit.text(), u"08:05"_s);
        QCOMPARE(changed.count(), 1);

        edit.setTime(QTime(17, 30));
        QCOMPARE(edit.text(), u"17:30"_s);
        QCOMPARE(changed.count(), 2);
    }

    // Work time is recomputed on each change, so every keystroke that changes the
    // time must be reported, not only the end of editing.
    void timeEditReportsEachKeystroke()
    {
        TcxTimeEdit edit;
        edit.setText(u"08:00"_s);
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        edit.setFocus();
        edit.setCurrentSection(QDateTimeEdit::MinuteSection);
        QSignalSpy changed(&edit, &TcxTimeEdit::changed);

        QTest::keyClick(&edit, Qt::Key_Up);
        QCOMPARE(edit.text(), u"08:01"_s);
        QCOMPARE(changed.count(), 1);
        QTest::keyClick(&edit, Qt::Key_Up);
        QCOMPARE(changed.count(), 2);
        QTest::keyClicks(&edit, u"45"_s);
        QCOMPARE(edit.text(), u"08:45"_s);
        QVERIFY(changed.count() >= 3);
    }

    void focusedColourFollowsTheFocus()
    {
        TcxTextEdit edit;
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        const QColor normal = edit.palette().color(QPalette::Base);
        Rt::focusedStyle(&edit)->setColor(QColor(255, 255, 192));

        edit.setFocus();
        QCOMPARE(edit.palette().color(QPalette::Base), QColor(255, 255, 192));
        window.elsewhere->setFocus();
        QCOMPARE(edit.palette().color(QPalette::Base), normal);
    }

    // Tab leaves a memo for the next control, as in every other field; arriving in
    // it is reported once.
    void memoPassesTabOnAndReportsEntering()
    {
        auto *memo = new TcxMemo;
        Window window(memo);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        QSignalSpy entered(memo, &TcxMemo::entered);
        memo->setFocus();
        QCOMPARE(entered.count(), 1);
        QTest::keyClicks(memo, u"ab"_s);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClick(memo, Qt::Key_Tab);
        QCOMPARE(memo->text(), u"ab\n"_s);
        QVERIFY(window.elsewhere->hasFocus());
        QCOMPARE(entered.count(), 1);
        delete memo;
    }

    void disabledTextCanStayReadable()
    {
        TcxButtonEdit edit;
        edit.setEnabled(false);
        QVERIFY(edit.palette().color(QPalette::Disabled, QPalette::Text)
                != edit.palette().color(QPalette::Active, QPalette::Text));
        Rt::keepTextReadableWhenDisabled(&edit);
        QCOMPARE(edit.palette().color(QPalette::Disabled, QPalette::Text),
                 edit.palette().color(QPalette::Active, QPalette::Text));
        QCOMPARE(edit.palette().color(QPalette::Disabled, QPalette::WindowText),
                 edit.palette().color(QPalette::Active, QPalette::WindowText));
        // A combo box draws its shown item in the button text colour.
        TcxImageComboBox combo;
        Rt::keepTextReadableWhenDisabled(&combo);
        QCOMPARE(combo.palette().color(QPalette::Disabled, QPalette::ButtonText),
                 combo.palette().color(QPalette::Active, QPalette::ButtonText));
    }
};

QTEST_MAIN(EditorsTest)
#include "tst_editors.moc"
