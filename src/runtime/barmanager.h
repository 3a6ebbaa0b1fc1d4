#pragma once

#include "rtglobal.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMainWindow;
class QToolBar;
class QWidget;

// One command of a bar: caption, hint, icons; clicking it emits clicked(). A
// mnemonic in the caption ("增加调班(&L)") is the item's shortcut (Alt+L).
class RT_EXPORT TdxBarItem : public QObject
{
    Q_OBJECT
public:
    explicit TdxBarItem(QObject *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);
    QString hint() const;
    void setHint(const QString &hint);
    QIcon glyph() const { return m_glyph; }
    void setGlyph(const QIcon &icon);
    QIcon largeGlyph() const { return m_largeGlyph; }
    void setLargeGlyph(const QIcon &icon);
    bool isVisible() const;
    void setVisible(bool visible);

    // The action every bar that shows this item uses.
    QAction *action() const { return m_action; }
    // Performs the item's click, as the user would.
    void click();

Q_SIGNALS:
    void clicked();

protected:
    virtual bool prefersLargeIcon() const { return false; }

private:
    void updateIcon();

    QAction *m_action;
    QIcon m_glyph;
    QIcon m_largeGlyph;
};

class RT_EXPORT TdxBarButton : public TdxBarItem
{
    Q_OBJECT
public:
    using TdxBarItem::TdxBarItem;
};

// A button shown with its large icon above its caption.
class RT_EXPORT TdxBarLargeButton : public TdxBarItem
{
    Q_OBJECT
public:
    using TdxBarItem::TdxBarItem;

protected:
    bool prefersLargeIcon() const override { return true; }
};

// A bar: a row of items docked in a bar manager's area.
class RT_EXPORT TdxBar : public QObject
{
    Q_OBJECT
public:
    explicit TdxBar(QObject *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    bool wholeRow() const { return m_wholeRow; }
    void setWholeRow(bool wholeRow);
    int dockedLeft() const { return m_dockedLeft; }
    void setDockedLeft(int left) { m_dockedLeft = left; }
    int row() const { return m_row; }
    void setRow(int row) { m_row = row; }
    bool oneOnRow() const { return m_oneOnRow; }
    void setOneOnRow(bool one) { m_oneOnRow = one; }
    bool allowQuickCustomizing() const { return m_markButton; }
    void setAllowQuickCustomizing(bool allow) { m_markButton = allow; }
    bool useOwnFont() const { return m_useOwnFont; }
    void setUseOwnFont(bool own) { m_useOwnFont = own; }
    QSize iconSize() const { return m_iconSize; }
    void setIconSize(const QSize &size);

    QList<TdxBarItem *> items() const { return m_items; }
    void addItem(TdxBarItem *item);
    void clearItems();

Q_SIGNALS:
    void changed();

private:
    QString m_caption;
    QList<TdxBarItem *> m_items;
    QSize m_iconSize{16, 16};
    int m_dockedLeft = 0;
    int m_row = 0;
    bool m_visible = true;
    bool m_wholeRow = false;
    bool m_oneOnRow = true;
    bool m_markButton = false;
    bool m_useOwnFont = false;
};

// Owns a form's bars and shows them in the form's top dock area, or, once merged,
// in another manager's place (a host's main window).
class RT_EXPORT TdxBarManager : public QObject
{
    Q_OBJECT
public:
    enum class Style { Standard, Office11 };

    explicit TdxBarManager(QObject *parent = nullptr);
    ~TdxBarManager() override;

    TdxBar *addBar(const QString &name);
    QList<TdxBar *> bars() const { return m_bars; }

    Style style() const { return m_style; }
    void setStyle(Style style) { m_style = style; }
    bool allowCallFromAnotherForm() const { return m_allowCallFromAnotherForm; }
    void setAllowCallFromAnotherForm(bool allow) { m_allowCallFromAnotherForm = allow; }
    bool alwaysMerge() const { return m_alwaysMerge; }
    void setAlwaysMerge(bool merge) { m_alwaysMerge = merge; }
    bool useSystemFont() const { return m_useSystemFont; }
    void setUseSystemFont(bool use) { m_useSystemFont = use; }
    QStringList categories() const { return m_categories; }
    void setCategories(const QStringList &categories) { m_categories = categories; }

    // The top dock area of a form; the form places it in its layout.
    QWidget *topDockControl(QWidget *form, int height);
    // Makes the bars appear as tool bars of a main window instead.
    void setMainWindow(QMainWindow *window);

    // Shows the bars of source in this manager's place until unmerge().
    void merge(TdxBarManager *source);
    void unmerge(TdxBarManager *source);
    bool isMergedInto() const { return m_mergedInto != nullptr; }

private:
    void rebuild();
    QToolBar *createToolBar(TdxBar *bar, QWidget *parent) const;

    QList<TdxBar *> m_bars;
    QList<QPointer<TdxBarManager>> m_merged;
    QPointer<TdxBarManager> m_mergedInto;
    QPointer<QWidget> m_dockControl;
    QPointer<QMainWindow> m_mainWindow;
    QList<QPointer<QToolBar>> m_toolBars;
    QStringList m_categories;
    Style m_style = Style::Standard;
    bool m_allowCallFromAnotherForm = false;
    bool m_alwaysMerge = false;
    bool m_useSystemFont = true;
};
