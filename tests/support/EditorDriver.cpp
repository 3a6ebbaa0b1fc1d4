#include "EditorDriver.h"

#include "runtime/editors/cxeditors.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/picker/FrmQryEmployeeList.h"

#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList times(const OpenEditor &editor, int first)
{
    QStringList texts;
    for (int n = first; n < first + 4; ++n)
        texts << editor.child<TcxTimeEdit>(u"cxTimeEdit%1"_s.arg(n))->text();
    return texts;
}

} // namespace

QStringList OpenEditor::planned() const
{
    return times(*this, 1);
}

QStringList OpenEditor::entered() const
{
    return times(*this, 5);
}

void OpenEditor::enter(const QStringList &texts) const
{
    for (int i = 0; i < 4; ++i)
        child<TcxTimeEdit>(u"cxTimeEdit%1"_s.arg(i + 5))->setText(texts.value(i));
}

QString OpenEditor::workTime() const
{
    return child<TcxTextEdit>(u"edtWorkTime"_s)->text();
}

QString OpenEditor::reason() const
{
    return child<TcxMemo>(u"cxExchgeReason"_s)->text();
}

void OpenEditor::setReason(const QString &text) const
{
    child<TcxMemo>(u"cxExchgeReason"_s)->setText(text);
}

void OpenEditor::setRemark(const QString &text) const
{
    child<TcxMemo>(u"mmRemark"_s)->setText(text);
}

void OpenEditor::setDay(const QDate &day) const
{
    child<TcxDateEdit>(u"edtExchgDate"_s)->setDate(day);
}

void OpenEditor::pick(const QString &condition) const
{
    auto *box = child<TcxButtonEdit>(u"edtPersonName"_s);
    box->setText(condition);
    answerNextPicker();
    Q_EMIT box->buttonClick(0);
}

void OpenEditor::tickRestDay() const
{
    child<TcxCheckBox>(u"cxCheckBox1"_s)->click();
}

void OpenEditor::ok() const
{
    child<QPushButton>(u"bbtnOK"_s)->click();
}

void OpenEditor::cancel() const
{
    child<QPushButton>(u"bbtnClose"_s)->click();
}

bool OpenEditor::isOpen() const
{
    return form->isVisible();
}

void driveEditor(const std::function<void()> &show, const std::function<void(OpenEditor &)> &drive,
                 bool *opened)
{
    const bool shown = whenShown<TKqExchgClassEdtFrm>(show, [&](TKqExchgClassEdtFrm *form) {
        OpenEditor editor{form};
        drive(editor);
        if (form->isVisible())
            editor.cancel();
    });
    if (opened)
        *opened = shown;
    else if (!shown)
        QTest::qFail("the exchange editor never opened", __FILE__, __LINE__);
}

void answerNextPicker(bool choose)
{
    // Asked for a picker that never comes, the answer fails the test when the
    // next modal loop runs without one.
    QTimer::singleShot(0, [choose] {
        if (TQryEmployeeListFrm *picker = openForm<TQryEmployeeListFrm>())
            picker->findChild<QPushButton *>(choose ? u"bbtnEnter"_s : u"bbtnClose"_s)->click();
        else
            QTest::qFail("the employee picker never opened", __FILE__, __LINE__);
    });
}
