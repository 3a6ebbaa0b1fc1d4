#include "editorrow.h"

#include "verticalgrid.h"

TcxEditorRow::TcxEditorRow(TcxVerticalGrid *grid, int index)
    : QObject(grid)
    , m_grid(grid)
    , m_index(index)
{
}

TcxEditorRow::~TcxEditorRow()
{
    if (m_grid)
        m_grid->removeRow(this);
}

void TcxEditorRow::setCaption(const QString &caption)
{
    m_caption = caption;
    m_grid->rowChanged(this);
}

void TcxEditorRow::setValue(const QVariant &value)
{
    m_value = value;
    m_grid->rowChanged(this);
}

void TcxEditorRow::setFieldName(const QString &fieldName)
{
    m_fieldName = fieldName;
    m_grid->rowChanged(this);
}
