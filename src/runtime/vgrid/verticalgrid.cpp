#include "verticalgrid.h"

#include "editorrow.h"
#include "runtime/grid/viewstyling_p.h"
#include "runtime/styles.h"
#include "verticalgridmodel_p.h"

#include <QHeaderView>
#include <QTableView>

TcxVerticalGrid::TcxVerticalGrid(QWidget *parent)
    : QWidget(parent)
    , m_styles(std::make_unique<TcxViewStyles>())
    , m_table(new QTableView(this))
    , m_model(new Rt::Internal::VerticalGridModel(this, m_table))
{
    m_table->setModel(m_model);
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusProxy(m_table);

    // A reset forgets the width of the caption column.
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { m_table->setColumnWidth(0, m_rowHeaderWidth); });
    connect(m_styles.get(), &TcxViewStyles::changed, this, [this] {
        Rt::Internal::applyViewPalette(m_table, m_styles.get());
        m_model->refreshAll();
    });
    m_table->setColumnWidth(0, m_rowHeaderWidth);
}

TcxVerticalGrid::~TcxVerticalGrid()
{
    // The rows are QObject children, deleted once this grid is gone.
    for (TcxEditorRow *row : std::as_const(m_rows))
        row->m_grid = nullptr;
}

TcxEditorRow *TcxVerticalGrid::addRow(const QString &caption)
{
    auto *row = new TcxEditorRow(this, rowCount());
    row->m_caption = caption;
    m_rows.append(row);
    m_model->reload();
    return row;
}

void TcxVerticalGrid::removeRow(TcxEditorRow *row)
{
    m_rows.removeAt(row->index());
    for (int i = row->index(); i < m_rows.size(); ++i)
        m_rows[i]->m_index = i;
    m_model->reload();
}

void TcxVerticalGrid::rowChanged(TcxEditorRow *row)
{
    m_model->refreshRow(row->index());
}

void TcxVerticalGrid::refreshValues()
{
    m_model->refreshValues();
}

QString TcxVerticalGrid::displayText(const TcxEditorRow *row) const
{
    return row->value().toString();
}

void TcxVerticalGrid::setRowHeaderWidth(int width)
{
    m_rowHeaderWidth = width;
    m_table->setColumnWidth(0, width);
}

QSize TcxVerticalGrid::sizeHint() const
{
    return m_table->sizeHint();
}

void TcxVerticalGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_table->setGeometry(rect());
}

TcxDBVerticalGrid::TcxDBVerticalGrid(QWidget *parent)
    : TcxVerticalGrid(parent)
{
    connect(&m_link, &TDataLink::dataSetChanged, this, &TcxDBVerticalGrid::refreshValues);
    connect(&m_link, &TDataLink::dataReset, this, &TcxDBVerticalGrid::refreshValues);
    connect(&m_link, &TDataLink::currentChanged, this, &TcxDBVerticalGrid::refreshValues);
}

TcxDBVerticalGrid::~TcxDBVerticalGrid() = default;

QString TcxDBVerticalGrid::displayText(const TcxEditorRow *row) const
{
    const TDataSet *dataSet = m_link.dataSet();
    if (!dataSet || dataSet->recNo() < 0)
        return {};
    // A handful of rows over a handful of fields: looking the field up costs nothing.
    const int field = dataSet->findField(row->fieldName());
    return field < 0 ? QString() : dataSet->asString(dataSet->recNo(), field);
}
