#include "form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

TForm::TForm(QWidget *parent)
    : QWidget(parent)
{
    setFont(Rt::formFont());
}

TForm::~TForm()
{
    if (m_modalLoop)
        m_modalLoop->exit();
}

Rt::ModalResult TForm::showModal()
{
    if (!isWindow())
        setParent(nullptr);
    setWindowFlag(Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);
    m_modalResult = Rt::ModalResult::None;
    QEventLoop loop;
    m_modalLoop = &loop;
    show();
    raise();
    activateWindow();
    // A handler may delete the form while it is shown (the destructor ends the
    // loop): then there is nothing left to hide or reset.
    const QPointer<TForm> alive(this);
    loop.exec(QEventLoop::DialogExec);
    if (!alive)
        return Rt::ModalResult::Cancel;
    m_modalLoop = nullptr;
    hide();
    setWindowModality(Qt::NonModal);
    return m_modalResult == Rt::ModalResult::None ? Rt::ModalResult::Cancel : m_modalResult;
}

void TForm::setModalResult(Rt::ModalResult result)
{
    m_modalResult = result;
    if (m_modalLoop && result != Rt::ModalResult::None)
        close();
}

void TForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (isWindow() && m_screenCentred)
        centreOnScreen();
    Q_EMIT formShown();
}

void TForm::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    Q_EMIT formClosed();
    if (m_modalLoop)
        m_modalLoop->exit();
}

void TForm::keyPressEvent(QKeyEvent *event)
{
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && event->key() == Qt::Key_Escape && m_cancelButton) {
        m_cancelButton->click();
        return;
    }
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && m_defaultButton && m_defaultButton->isEnabled()) {
        m_defaultButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

TFrame::TFrame(QWidget *parent)
    : QWidget(parent)
{}

namespace Rt {

QFont formFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace Rt
