#include "styles.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

TcxStyle::TcxStyle(QObject *parent)
    : QObject(parent)
{
}

void TcxStyle::setFont(const QFont &font)
{
    m_font = font;
    m_hasFont = true;
}

TcxCustomStyleSheet::TcxCustomStyleSheet(QObject *parent)
    : QObject(parent)
{
}

TcxStyleRepository::TcxStyleRepository(QObject *parent)
    : QObject(parent)
{
}

TcxStyle *TcxStyleRepository::createStyle()
{
    return new TcxStyle(this);
}

TcxCustomStyleSheet *TcxStyleRepository::styleSheet(int index) const
{
    return index >= 0 && index < m_sheets.size() ? m_sheets.at(index) : nullptr;
}

TcxViewStyles::TcxViewStyles(QObject *parent)
    : QObject(parent)
{
}

void TcxViewStyles::setStyleSheet(TcxCustomStyleSheet *sheet)
{
    m_sheet = sheet;
    Q_EMIT changed();
}

void TcxViewStyles::setStyle(Rt::StyleRole role, TcxStyle *style)
{
    m_own.insert(role, style);
    Q_EMIT changed();
}

TcxStyle *TcxViewStyles::style(Rt::StyleRole role) const
{
    if (TcxStyle *own = m_own.value(role))
        return own;
    return m_sheet ? m_sheet->style(role) : nullptr;
}

TcxEditStyle::TcxEditStyle(QWidget *editor)
    : QObject(editor)
    , m_editor(editor)
{
    setObjectName(QStringLiteral("StyleFocused"));
    editor->installEventFilter(this);
}

void TcxEditStyle::setColor(const QColor &color)
{
    m_color = color;
    if (m_editor->hasFocus())
        apply(true);
}

bool TcxEditStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::FocusIn)
            apply(true);
        else if (event->type() == QEvent::FocusOut)
            apply(false);
    }
    return false;
}

void TcxEditStyle::apply(bool focused)
{
    if (!m_color.isValid())
        return;
    QPalette palette = m_editor->palette();
    if (focused) {
        m_normal = palette.color(QPalette::Base);
        palette.setColor(QPalette::Base, m_color);
    } else if (m_normal.isValid()) {
        palette.setColor(QPalette::Base, m_normal);
    }
    m_editor->setPalette(palette);
}

namespace Rt {

TcxEditStyle *focusedStyle(const QObject *editor)
{
    return editor->findChild<TcxEditStyle *>(QStringLiteral("StyleFocused"),
                                              Qt::FindDirectChildrenOnly);
}

QColor infoBackgroundColor()
{
    return QApplication::palette().color(QPalette::ToolTipBase);
}

} // namespace Rt
