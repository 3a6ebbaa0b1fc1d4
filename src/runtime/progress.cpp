#include "progress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QProgressDialog>

using namespace Qt::StringLiterals;

namespace Rt {

namespace {

// The progress window comes up only for work that takes a while.
constexpr int ShowAfterMs = 400;
constexpr int PaintEveryMs = 50;

// Drops user input and close requests for every window while work runs.
class InputBlocker : public QObject
{
public:
    InputBlocker() { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        case QEvent::Close:
            event->ignore();
            return true;
        default:
            return false;
        }
    }
};

} // namespace

struct ProgressScope::Private
{
    QString text;
    qint64 total;
    QPointer<QWidget> parent;
    InputBlocker blocker;
    QElapsedTimer started;
    qint64 lastPaint = 0;
    std::unique_ptr<QProgressDialog> dialog;
};

ProgressScope::ProgressScope(const QString &text, qint64 total, QWidget *parent)
    : d(std::make_unique<Private>())
{
    d->text = text;
    d->total = qMax<qint64>(total, 1);
    d->parent = parent;
    d->started.start();
}

ProgressScope::~ProgressScope() = default;

bool ProgressScope::isShown() const
{
    return d->dialog && d->dialog->isVisible();
}

void ProgressScope::advance(qint64 done)
{
    const qint64 now = d->started.elapsed();
    if (now - d->lastPaint < PaintEveryMs)
        return;
    d->lastPaint = now;
    if (!d->dialog && now >= ShowAfterMs) {
        d->dialog = std::make_unique<QProgressDialog>(d->parent);
        d->dialog->setWindowTitle(u"请稍候"_s);
        d->dialog->setCancelButton(nullptr);
        d->dialog->setMinimumDuration(0);
        d->dialog->setAutoClose(false);
        d->dialog->setAutoReset(false);
        d->dialog->setWindowModality(Qt::ApplicationModal);
        // The bar stops at int's range; the label keeps counting.
        d->dialog->setRange(0, int(qMin<qint64>(d->total, 1 << 30)));
        d->dialog->show();
    }
    if (d->dialog) {
        const qint64 shown = qMin(done, d->total);
        d->dialog->setLabelText(u"%1\n%2 / %3"_s.arg(d->text).arg(shown).arg(d->total));
        d->dialog->setValue(int(qMin<qint64>(shown, 1 << 30)));
    }
    QCoreApplication::processEvents();
}

} // namespace Rt
