#pragma once

#include "rtglobal.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

// A style: the colours and font a view paints one kind of element with. Only what
// was assigned overrides the view's defaults.
class RT_EXPORT TcxStyle : public QObject
{
    Q_OBJECT
public:
    explicit TcxStyle(QObject *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color) { m_color = color; }
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color) { m_textColor = color; }
    bool hasFont() const { return m_hasFont; }
    QFont font() const { return m_font; }
    void setFont(const QFont &font);

private:
    QColor m_color;
    QColor m_textColor;
    QFont m_font;
    bool m_hasFont = false;
};

namespace Rt {
// The elements of a view that a style sheet can style.
enum class StyleRole {
    Background,
    Content,
    ContentEven,
    ContentOdd,
    Header,
    Footer,
    Selection,
    Inactive,
    Indicator,
    Category,
};
} // namespace Rt

// A named set of styles, one per element of a kind of view.
class RT_EXPORT TcxCustomStyleSheet : public QObject
{
    Q_OBJECT
public:
    explicit TcxCustomStyleSheet(QObject *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }

    TcxStyle *style(Rt::StyleRole role) const { return m_styles.value(role); }
    void setStyle(Rt::StyleRole role, TcxStyle *style) { m_styles.insert(role, style); }

private:
    QString m_caption;
    QHash<Rt::StyleRole, QPointer<TcxStyle>> m_styles;
};

class RT_EXPORT TcxGridTableViewStyleSheet : public TcxCustomStyleSheet
{
    Q_OBJECT
public:
    using TcxCustomStyleSheet::TcxCustomStyleSheet;
};

class RT_EXPORT TcxGridBandedTableViewStyleSheet : public TcxCustomStyleSheet
{
    Q_OBJECT
public:
    using TcxCustomStyleSheet::TcxCustomStyleSheet;
};

class RT_EXPORT TcxTreeListStyleSheet : public TcxCustomStyleSheet
{
    Q_OBJECT
public:
    using TcxCustomStyleSheet::TcxCustomStyleSheet;
};

class RT_EXPORT TcxVerticalGridStyleSheet : public TcxCustomStyleSheet
{
    Q_OBJECT
public:
    using TcxCustomStyleSheet::TcxCustomStyleSheet;
};

// Holds styles and style sheets; views take a sheet by its index.
class RT_EXPORT TcxStyleRepository : public QObject
{
    Q_OBJECT
public:
    explicit TcxStyleRepository(QObject *parent = nullptr);

    TcxStyle *createStyle();
    template <typename Sheet>
    Sheet *createStyleSheet()
    {
        auto *sheet = new Sheet(this);
        m_sheets.append(sheet);
        return sheet;
    }

    int styleSheetCount() const { return int(m_sheets.size()); }
    // The sheet at index, or none outside 0 .. count - 1.
    TcxCustomStyleSheet *styleSheet(int index) const;

private:
    QList<TcxCustomStyleSheet *> m_sheets;
};

// The styles of one view: a style sheet plus styles set on the view itself, which
// win over the sheet's.
class RT_EXPORT TcxViewStyles : public QObject
{
    Q_OBJECT
public:
    explicit TcxViewStyles(QObject *parent = nullptr);

    TcxCustomStyleSheet *styleSheet() const { return m_sheet; }
    void setStyleSheet(TcxCustomStyleSheet *sheet);

    void setStyle(Rt::StyleRole role, TcxStyle *style);
    // The style in effect for role, or none.
    TcxStyle *style(Rt::StyleRole role) const;

Q_SIGNALS:
    void changed();

private:
    QPointer<TcxCustomStyleSheet> m_sheet;
    QHash<Rt::StyleRole, QPointer<TcxStyle>> m_own;
};

// The style an editor takes while it has the keyboard focus. Attached to an editor
// as its child named "StyleFocused"; only its colour is used.
class RT_EXPORT TcxEditStyle : public QObject
{
    Q_OBJECT
public:
    // Attaches a focused style to editor and follows its focus changes.
    explicit TcxEditStyle(QWidget *editor);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply(bool focused);

    QWidget *m_editor;
    QColor m_color;
    QColor m_normal;
};

namespace Rt {
// The focused style attached to an editor, or none.
RT_EXPORT TcxEditStyle *focusedStyle(const QObject *editor);
// The system colour of tooltip backgrounds.
RT_EXPORT QColor infoBackgroundColor();
} // namespace Rt
