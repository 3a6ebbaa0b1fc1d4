#include "gridcolumn.h"

#include "gridview.h"

TcxGridColumn::TcxGridColumn(TcxGridTableView *view)
    : QObject(view)
    , m_view(view)
{
}

TcxGridColumn::~TcxGridColumn()
{
    if (m_view)
        m_view->removeColumn(this);
}

void TcxGridColumn::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Header);
}

void TcxGridColumn::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Arrangement);
}

void TcxGridColumn::setWidth(int width)
{
    width = qMax(width, m_minWidth);
    if (m_width == width)
        return;
    m_width = width;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Size);
}

void TcxGridColumn::setMinWidth(int width)
{
    width = qMax(width, 0);
    if (m_minWidth == width)
        return;
    m_minWidth = width;
    m_width = qMax(m_width, width);
    m_view->columnChanged(TcxGridTableView::ColumnChange::Size);
}

void TcxGridColumn::setHeaderAlignment(Qt::Alignment alignment)
{
    alignment &= Qt::AlignHorizontal_Mask;
    if (m_headerAlignment == alignment)
        return;
    m_headerAlignment = alignment;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Header);
}

void TcxGridColumn::setAlignment(Qt::Alignment alignment)
{
    alignment &= Qt::AlignHorizontal_Mask;
    if (m_alignment == alignment)
        return;
    m_alignment = alignment;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Cells);
}

void TcxGridColumn::setFooterAlignment(Qt::Alignment alignment)
{
    m_footerAlignment = alignment & Qt::AlignHorizontal_Mask;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Header);
}

void TcxGridColumn::setFieldName(const QString &fieldName)
{
    if (m_fieldName == fieldName)
        return;
    m_fieldName = fieldName;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Binding);
}

void TcxGridColumn::setValueList(const TcxImageComboBoxItems &items)
{
    m_valueList = items;
    m_view->columnChanged(TcxGridTableView::ColumnChange::Cells);
}

void TcxGridColumn::setContentStyleHandler(ContentStyleHandler handler)
{
    m_styleHandler = std::move(handler);
    m_view->columnChanged(TcxGridTableView::ColumnChange::Cells);
}

void TcxGridBandedColumn::setBandIndex(int index)
{
    if (m_bandIndex == index)
        return;
    m_bandIndex = index;
    gridView()->columnChanged(TcxGridTableView::ColumnChange::Arrangement);
}
