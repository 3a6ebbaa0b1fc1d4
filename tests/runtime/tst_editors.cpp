#include "runtime/editors/cxeditors.h"
#include "runtime/styles.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

// A box between two line edits, named by a label with a mnemonic, and a button
// with one: what an operator reaches by click, Tab, Shift+Tab, Alt+B and Alt+O.
struct TypingWindow
{
    QWidget widget;
    QLineEdit *before = new QLineEdit(&widget);
    QLabel *label = new QLabel(u"&Box"_s, &widget);
    QWidget *box;
    QLineEdit *after = new QLineEdit(&widget);
    QPushButton *ok = new QPushButton(u"&OK"_s, &widget);

    explicit TypingWindow(QWidget *box)
        : box(box)
    {
        auto *layout = new QVBoxLayout(&widget);
        for (QWidget *child : QWidgetList{before, label, box, after, ok})
            layout->addWidget(child);
        label->setBuddy(box);
        QWidget::setTabOrder(before, box);
        QWidget::setTabOrder(box, after);
        widget.show();
        widget.activateWindow();
    }
    ~TypingWindow() { box->setParent(nullptr); }

    // Puts the focus into the box the way an operator would.
    void focusBox(const QString &how, QWidget *clickTarget)
    {
        if (how == u"click") {
            // Past the end of the text, where the caret would land.
            QTest::mouseClick(clickTarget, Qt::LeftButton, {},
                              QPoint(clickTarget->width() * 2 / 3, clickTarget->height() / 2));
        } else if (how == u"tab") {
            before->setFocus();
            QTest::keyClick(before, Qt::Key_Tab);
        } else if (how == u"backtab") {
            after->setFocus();
            QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
        } else {
            before->setFocus();
            QTest::keyClick(before, Qt::Key_B, Qt::AltModifier);
        }
    }

    void type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void leave() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
};

const QStringList focusWays = {u"click"_s, u"tab"_s, u"backtab"_s, u"mnemonic"_s};

// One row per way of focusing the box for each typed text.
template <typename Value> void addTypingRows(const QList<std::pair<QString, Value>> &texts)
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Value>("expected"); // invalid for a refused text
    for (const QString &focus : focusWays) {
        for (const auto &[typed, expected] : texts)
            QTest::addRow("%s %s", qPrintable(focus), qPrintable(typed))
                << focus << typed << expected;
    }
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

    // However the box got the focus, typing replaces the date; a date that does not
    // exist is refused in the box, which keeps its date and says so.
    void dateEditTakesWhatPeopleType_data()
    {
        const int year = QDate::currentDate().year();
        addTypingRows<QDate>({
            {u"2026-12-06"_s, QDate(2026, 12, 6)},
            {u"20261206"_s, QDate(2026, 12, 6)},
            {u"2026/12/6"_s, QDate(2026, 12, 6)},
            {u"2026-3-5"_s, QDate(2026, 3, 5)},
            {u"12-06"_s, QDate(year, 12, 6)},
            {u"1206"_s, QDate(year, 12, 6)},
            {u"2026-12-32"_s, QDate()},
            {u"20261232"_s, QDate()},
            {u"2026-02-30"_s, QDate()},
            {u"13-01"_s, QDate()},
            {u"tomorrow"_s, QDate()},
        });
    }

    void dateEditTakesWhatPeopleType()
    {
        QFETCH(QString, focus);
        QFETCH(QString, typed);
        QFETCH(QDate, expected);
        const QDate before(2024, 1, 15);
        TcxDateEdit edit;
        edit.setDate(before);
        TypingWindow window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        QSignalSpy changed(&edit, &TcxDateEdit::dateChanged);

        window.focusBox(focus, &edit);
        QVERIFY(edit.hasFocus());
        QCOMPARE(edit.selectedText(), u"2024-01-15"_s);
        window.type(typed);
        window.leave();
        QVERIFY(!edit.hasFocus());
        const QDate date = expected.isValid() ? expected : before;
        QCOMPARE(edit.date(), date);
        QCOMPARE(edit.text(), date.toString(u"yyyy-MM-dd"));
        QCOMPARE(edit.isInputRefused(), !expected.isValid());
        QCOMPARE(edit.toolTip().contains(typed), !expected.isValid());
        QCOMPARE(changed.count(), expected.isValid() ? 1 : 0);
    }

    // A whole date counts while typing; a whole impossible one is refused at once,
    // so that the text never holds it, and the next keystroke clears the refusal.
    void dateEditJudgesWholeDatesAtOnce()
    {
        TcxDateEdit edit;
        edit.setDate(QDate(2024, 1, 15));
        TypingWindow window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        window.focusBox(u"tab"_s, &edit);
        window.type(u"2024-02-3"_s);
        QCOMPARE(edit.date(), QDate(2024, 1, 15));
        window.type(u"0"_s);
        QCOMPARE(edit.text(), u"2024-01-15"_s);
        QVERIFY(edit.isInputRefused());
        QCOMPARE(edit.selectedText(), u"2024-01-15"_s);
        window.type(u"20240229"_s);
        QVERIFY(!edit.isInputRefused());
        QCOMPARE(edit.date(), QDate(2024, 2, 29));
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.date(), QDate());
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
        // Chinese month and day names like the rest of the interface, whatever the
        // machine's language.
        QCOMPARE(calendar->locale().language(), QLocale::Chinese);
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

    // Laid out among others at its own size, the box shows the whole time.
    void timeEditFitsItsTimeInALayout()
    {
        QWidget form;
        auto *row = new QHBoxLayout(&form);
        auto *edit = new TcxTimeEdit;
        row->addWidget(edit);
        row->addStretch();
        edit->setTime(QTime(23, 58));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QLineEdit *text = edit->findChild<QLineEdit *>();
        QVERIFY(text->width() >= text->fontMetrics().horizontalAdvance(u"23:58"_s));
    }

    // However the box got the focus, typing replaces the time; an impossible time
    // is refused in the box, which keeps its time and says so, never 00:00.
    void timeEditTakesWhatPeopleType_data()
    {
        addTypingRows<QTime>({
            {u"0800"_s, QTime(8, 0)},
            {u"800"_s, QTime(8, 0)},
            {u"8:00"_s, QTime(8, 0)},
            {u"08:00"_s, QTime(8, 0)},
            {u"8"_s, QTime(8, 0)},
            {u"17:30"_s, QTime(17, 30)},
            {u"1730"_s, QTime(17, 30)},
            {u"0000"_s, QTime(0, 0)},
            {u"2500"_s, QTime()},
            {u"0875"_s, QTime()},
            {u"24"_s, QTime()},
            {u"8:7"_s, QTime()},
        });
    }

    void timeEditTakesWhatPeopleType()
    {
        QFETCH(QString, focus);
        QFETCH(QString, typed);
        QFETCH(QTime, expected);
        const QTime before(12, 34);
        TcxTimeEdit edit;
        edit.setTime(before);
        TypingWindow window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        QSignalSpy changed(&edit, &TcxTimeEdit::changed);

        auto *line = edit.findChild<QLineEdit *>();
        window.focusBox(focus, line);
        QVERIFY(edit.hasFocus());
        QCOMPARE(line->selectedText(), u"12:34"_s);
        window.type(typed);
        window.leave();
        QVERIFY(!edit.hasFocus());
        const QTime time = expected.isValid() ? expected : before;
        QCOMPARE(edit.time(), time);
        QCOMPARE(line->text(), time.toString(u"HH:mm"));
        QCOMPARE(edit.isInputRefused(), !expected.isValid());
        QCOMPARE(edit.toolTip().contains(typed), !expected.isValid());
        QCOMPARE(changed.count(), expected.isValid() ? 1 : 0);
    }

    // Work time is recomputed on each change, so a whole time counts as it is
    // typed, and a step counts at once. Up and Down step the hours while the whole
    // value is selected, otherwise the section of the caret, which then stays
    // selected for typing over.
    void timeEditReportsEachChange()
    {
        TcxTimeEdit edit;
        edit.setTime(QTime(8, 0));
        TypingWindow window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        auto *line = edit.findChild<QLineEdit *>();
        window.focusBox(u"tab"_s, line);
        QSignalSpy changed(&edit, &TcxTimeEdit::changed);

        window.type(u"173"_s);
        QCOMPARE(changed.count(), 0);
        window.type(u"0"_s);
        QCOMPARE(edit.time(), QTime(17, 30));
        QCOMPARE(changed.count(), 1);

        QTest::keyClick(line, Qt::Key_Up);
        QCOMPARE(edit.text(), u"17:31"_s);
        QCOMPARE(line->selectedText(), u"31"_s);
        QTest::keyClicks(line, u"45"_s);
        QCOMPARE(edit.text(), u"17:45"_s);
        QCOMPARE(changed.count(), 3);

        QTest::keyClick(line, Qt::Key_Home);
        QTest::keyClick(line, Qt::Key_Down);
        QCOMPARE(edit.text(), u"16:45"_s);
        QCOMPARE(line->selectedText(), u"16"_s);
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Up);
        QCOMPARE(edit.text(), u"17:45"_s);
        QCOMPARE(changed.count(), 5);
    }

    // A mnemonic presses its button without moving the focus: the text typed so
    // far is taken, or refused, before the button acts.
    void typedTextCountsBeforeAMnemonic_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<bool>("refused");
        QTest::newRow("short form") << u"800"_s << u"08:00"_s << false;
        QTest::newRow("impossible") << u"99"_s << u"12:34"_s << true;
    }

    void typedTextCountsBeforeAMnemonic()
    {
        QFETCH(QString, typed);
        QFETCH(QString, seen);
        QFETCH(bool, refused);
        TcxTimeEdit edit;
        edit.setTime(QTime(12, 34));
        TypingWindow window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        QString atClick;
        connect(window.ok, &QPushButton::clicked, &edit, [&] { atClick = edit.text(); });
        window.focusBox(u"click"_s, edit.findChild<QLineEdit *>());
        window.type(typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(atClick, seen);
        QCOMPARE(edit.isInputRefused(), refused);
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
