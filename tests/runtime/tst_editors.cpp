#include "runtime/controls/imagelist.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/styles.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <memory>

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

using EditorFactory = std::function<QWidget *()>;

template <typename Editor> EditorFactory factory()
{
    return [] { return new Editor; };
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

    void buttonEditReportsWhichButton()
    {
        TcxButtonEdit edit;
        QCOMPARE(edit.addButton(u"+"_s), 1);
        QCOMPARE(edit.buttonCount(), 2);
        edit.setReadOnly(true);
        edit.resize(160, 21);
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowExposed(&window.widget));

        const QList<QToolButton *> buttons = edit.findChildren<QToolButton *>();
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(buttons.at(0)->text(), u"…"_s);
        // Both sit inside the edit, side by side, and the text stops before them.
        QVERIFY(edit.rect().contains(buttons.at(0)->geometry()));
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

    void imageComboBoxEditValue()
    {
        TcxImageComboBox combo;
        combo.setItems(shifts());
        QCOMPARE(combo.count(), 2);
        // Filling the list selects nothing by itself.
        QCOMPARE(combo.editValue(), QString());

        combo.setEditValue(u"02"_s);
        QCOMPARE(combo.currentText(), u"夜班"_s);
        QCOMPARE(combo.editValue(), u"02"_s);

        combo.setEditValue(u"99"_s);
        QCOMPARE(combo.currentIndex(), -1);
        QCOMPARE(combo.editValue(), QString());
    }

    void imageComboBoxRebuildsItsList()
    {
        TcxImageComboBox combo;
        combo.setItems(shifts());
        combo.setEditValue(u"02"_s);

        QSignalSpy indexChanges(&combo, &QComboBox::currentIndexChanged);
        combo.items().add(u"03"_s, u"休息"_s);
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.editValue(), u"02"_s);
        combo.itemsChanged();
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.itemText(2), u"休息"_s);
        QCOMPARE(combo.editValue(), u"02"_s);

        TImageList images;
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::green);
        images.add(QIcon(pixmap));
        combo.setImages(&images);
        QVERIFY(!combo.itemIcon(0).isNull());
        QVERIFY(combo.itemIcon(1).isNull());
        QCOMPARE(combo.editValue(), u"02"_s);

        combo.items().clear();
        combo.items().add(u"01"_s, u"白班"_s);
        combo.itemsChanged();
        QCOMPARE(combo.count(), 1);
        QCOMPARE(combo.editValue(), QString());
        // Rebuilding the list is no choice of the user's.
        QCOMPARE(indexChanges.count(), 0);
    }

    void dateEditRoundTrip()
    {
        TcxDateEdit edit;
        QVERIFY(edit.text().isEmpty());
        QVERIFY(!edit.date().isValid());

        QSignalSpy changed(&edit, &TcxDateEdit::dateChanged);
        edit.setDate(QDate(2024, 2, 29));
        QCOMPARE(edit.text(), u"2024-02-29"_s);
        QCOMPARE(edit.date(), QDate(2024, 2, 29));
        edit.setDate(QDate(2024, 2, 29));
        QCOMPARE(changed.count(), 1);

        edit.setDate(QDate());
        QVERIFY(edit.text().isEmpty());
        QVERIFY(!edit.date().isValid());
        QCOMPARE(changed.count(), 2);
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

    void popupEditLendsItsControl()
    {
        TcxPopupEdit edit;
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        auto *tree = new QLabel(u"部门"_s, &window.widget);
        tree->setGeometry(10, 10, 220, 160);
        edit.setPopupControl(tree);
        QVERIFY(tree->isHidden());
        QSignalSpy closeUps(&edit, &TcxPopupEdit::closeUp);

        edit.dropDown();
        QVERIFY(tree->isVisible());
        QVERIFY(tree->window() != &window.widget);
        // As tall as it was made, at least as wide, and the popup as wide as the edit.
        QCOMPARE(tree->height(), 160);
        QVERIFY(tree->width() >= 220);
        QVERIFY(tree->window()->width() >= edit.width());
        QVERIFY(tree->mapToGlobal(QPoint(0, 0)).y()
                >= edit.mapToGlobal(QPoint(0, edit.height())).y());

        edit.closePopup();
        QCOMPARE(closeUps.count(), 1);
        QCOMPARE(tree->parentWidget(), &window.widget);
        QCOMPARE(tree->geometry(), QRect(10, 10, 220, 160));
        QVERIFY(tree->isHidden());

        // An edit that goes while its popup is open still hands the control back.
        QPointer<QLabel> survivor = tree;
        {
            auto *shortLived = new TcxPopupEdit(&window.widget);
            shortLived->setPopupControl(tree);
            shortLived->dropDown();
            QVERIFY(tree->isVisible());
            delete shortLived;
        }
        QVERIFY(survivor);
        QCOMPARE(tree->parentWidget(), &window.widget);
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

    void timeEditTintsWhenReadOnly()
    {
        TcxTimeEdit edit;
        const QColor editable = edit.palette().color(QPalette::Base);
        edit.setReadOnly(true);
        edit.setReadOnly(true);
        QCOMPARE(edit.palette().color(QPalette::Base), edit.palette().color(QPalette::Window));
        QVERIFY(edit.palette().color(QPalette::Base) != editable);
        edit.setReadOnly(false);
        QCOMPARE(edit.palette().color(QPalette::Base), editable);
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

    void onlyTheStyledEditorsCarryAFocusedStyle_data()
    {
        QTest::addColumn<EditorFactory>("create");
        QTest::addColumn<bool>("styled");
        QTest::newRow("text") << factory<TcxTextEdit>() << true;
        QTest::newRow("button") << factory<TcxButtonEdit>() << true;
        QTest::newRow("image combo") << factory<TcxImageComboBox>() << true;
        QTest::newRow("spin") << factory<TcxSpinEdit>() << true;
        QTest::newRow("currency") << factory<TcxCurrencyEdit>() << true;
        QTest::newRow("memo") << factory<TcxMemo>() << true;
        QTest::newRow("mask") << factory<TcxMaskEdit>() << true;
        QTest::newRow("popup") << factory<TcxPopupEdit>() << true;
        QTest::newRow("date") << factory<TcxDateEdit>() << false;
        QTest::newRow("time") << factory<TcxTimeEdit>() << false;
        QTest::newRow("check") << factory<TcxCheckBox>() << false;
    }

    void onlyTheStyledEditorsCarryAFocusedStyle()
    {
        QFETCH(EditorFactory, create);
        QFETCH(bool, styled);
        const std::unique_ptr<QWidget> editor(create());
        QCOMPARE(Rt::focusedStyle(editor.get()) != nullptr, styled);
    }

    void maskEditTakesClassicMasks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("complete");
        QTest::newRow("date") << u"!0000-00-00;1;_"_s << u"20240105"_s << u"2024-01-05"_s << true;
        QTest::newRow("letters up") << u">LL-000"_s << u"ab123"_s << u"AB-123"_s << true;
        QTest::newRow("digits only") << u"000"_s << u"1a2b3"_s << u"123"_s << true;
        QTest::newRow("required digits") << u"0000"_s << u"12"_s << u"12"_s << false;
        QTest::newRow("optional digits") << u"0099"_s << u"12"_s << u"12"_s << true;
        QTest::newRow("literal code letter") << u"N00"_s << u"12"_s << u"N12"_s << true;
        QTest::newRow("escaped") << u"\\L00"_s << u"12"_s << u"L12"_s << true;
    }

    void maskEditTakesClassicMasks()
    {
        QFETCH(QString, mask);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(bool, complete);
        TcxMaskEdit edit;
        edit.setEditMask(mask);
        QCOMPARE(edit.editMask(), mask);
        Window window(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&window.widget));
        edit.setFocus();
        edit.home(false);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), text);
        QCOMPARE(edit.hasAcceptableInput(), complete);
    }

    void maskEditShowsItsBlanks()
    {
        TcxMaskEdit edit;
        edit.setEditMask(u"!0000-00-00;1;_"_s);
        QCOMPARE(edit.displayText(), u"____-__-__"_s);
        edit.setEditMask(u"00:00;1;*"_s);
        QCOMPARE(edit.displayText(), u"**:**"_s);
    }

    // A plain spin box stops at 99: these editors must not.
    void numericEditorsTakeAnyAmount()
    {
        TcxSpinEdit spin;
        spin.setValue(-1500);
        QCOMPARE(spin.value(), -1500);
        spin.setValue(2'000'000);
        QCOMPARE(spin.value(), 2'000'000);

        TcxCurrencyEdit currency;
        currency.setValue(12345.678);
        QCOMPARE(currency.value(), 12345.68);
    }
};

QTEST_MAIN(EditorsTest)
#include "tst_editors.moc"
