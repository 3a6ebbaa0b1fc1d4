#pragma once

#include "runtime/rtglobal.h"
#include "runtime/valuelist.h"

#include <QObject>

#include <functional>
#include <optional>

class TcxCustomGridView;
class TcxGridTableView;
class TcxStyle;

// A column of a table view. Its name is its objectName. Bound views show the data
// set field named fieldName(); unbound views show the values set in code.
class RT_EXPORT TcxGridColumn : public QObject
{
    Q_OBJECT
public:
    // Picks the style of one cell; nullptr leaves the cell to the view's own styles.
    using ContentStyleHandler =
        std::function<TcxStyle *(TcxCustomGridView *view, int recordIndex, TcxGridColumn *column)>;

    ~TcxGridColumn() override;

    TcxGridTableView *gridView() const { return m_view; }
    // Position among the view's columns, hidden ones included.
    int index() const { return m_index; }

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    int width() const { return m_width; }
    void setWidth(int width);
    int minWidth() const { return m_minWidth; }
    void setMinWidth(int width);
    // Horizontal alignment of the caption in the header.
    Qt::Alignment headerAlignment() const { return m_headerAlignment; }
    void setHeaderAlignment(Qt::Alignment alignment);
    // Horizontal alignment of the cells' text.
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    // Horizontal alignment of the footer text; the cells' alignment unless set.
    Qt::Alignment footerAlignment() const { return m_footerAlignment.value_or(m_alignment); }
    void setFooterAlignment(Qt::Alignment alignment);

    // The field a bound view shows here, found regardless of case.
    QString fieldName() const { return m_fieldName; }
    void setFieldName(const QString &fieldName);

    // With items, a cell shows the description of the item whose value matches the
    // stored one (compared as text); without, the stored value itself.
    const TcxImageComboBoxItems &valueList() const { return m_valueList; }
    void setValueList(const TcxImageComboBoxItems &items);

    const ContentStyleHandler &contentStyleHandler() const { return m_styleHandler; }
    void setContentStyleHandler(ContentStyleHandler handler);

protected:
    explicit TcxGridColumn(TcxGridTableView *view);

private:
    friend class TcxGridTableView;

    TcxGridTableView *m_view;
    int m_index = -1;
    QString m_caption;
    QString m_fieldName;
    TcxImageComboBoxItems m_valueList;
    ContentStyleHandler m_styleHandler;
    int m_width = 64;
    int m_minWidth = 20;
    Qt::Alignment m_headerAlignment = Qt::AlignLeft;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    std::optional<Qt::Alignment> m_footerAlignment;
    bool m_visible = true;
};

// A column of a banded view, placed under one of the view's bands.
class RT_EXPORT TcxGridBandedColumn : public TcxGridColumn
{
    Q_OBJECT
public:
    // Index of the band the column sits under; out-of-range indexes clamp.
    int bandIndex() const { return m_bandIndex; }
    void setBandIndex(int index);

private:
    friend class TcxGridBandedTableView;
    explicit TcxGridBandedColumn(TcxGridTableView *view)
        : TcxGridColumn(view)
    {
    }

    int m_bandIndex = 0;
};
