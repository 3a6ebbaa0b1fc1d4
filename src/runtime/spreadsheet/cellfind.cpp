#include "cellfind_p.h"

#include "sheettabs_p.h"

#include "runtime/application.h"
#include "runtime/xls/numberformat.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Rt::Internal {

CellFindDialog::CellFindDialog(SheetTabs *tabs, QWidget *parent)
    : QDialog(parent)
    , m_tabs(tabs)
{
    setObjectName(u"CellFindDialog"_s);
    setWindowTitle(u"查找"_s);
    auto *label = new QLabel(u"查找内容："_s, this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(u"edtFindText"_s);
    label->setBuddy(m_text);
    auto *next = new QPushButton(u"查找下一个(&F)"_s, this);
    next->setObjectName(u"btnFindNext"_s);
    next->setDefault(true);
    auto *close = new QPushButton(u"关闭"_s, this);
    m_status = new QLabel(this);
    m_status->setObjectName(u"lblFindStatus"_s);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_text, 1);
    row->addWidget(next);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(bottom);
    resize(380, sizeHint().height());

    connect(next, &QPushButton::clicked, this, Rt::guarded(this, &CellFindDialog::findNext));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void CellFindDialog::findNext()
{
    const QString text = m_text->text();
    const int sheetIndex = m_tabs ? m_tabs->currentIndex() : -1;
    QTableView *view = m_tabs ? m_tabs->view(sheetIndex) : nullptr;
    if (!view || text.isEmpty())
        return;
    const Rt::Xls::Workbook &book = *m_tabs->workbook();
    const Rt::Xls::Sheet &sheet = book.sheet(sheetIndex);
    const QModelIndex current = view->currentIndex();
    const int startRow = current.isValid() ? current.row() : 0;
    const int startColumn = current.isValid() ? current.column() + 1 : 0;
    // From the cell after the current one to the end of the sheet; no wrap-around.
    for (int row = startRow; row < sheet.rowCount(); ++row) {
        for (const Rt::Xls::Cell &cell : sheet.row(row)) {
            if (row == startRow && cell.column < startColumn)
                continue;
            const QString shown =
                Rt::Xls::formatValue(cell.value, book.styles().at(cell.style).numberFormat);
            if (shown.contains(text, Qt::CaseInsensitive)) {
                const QModelIndex found = view->model()->index(row, cell.column);
                view->setCurrentIndex(found);
                view->scrollTo(found);
                m_status->clear();
                return;
            }
        }
    }
    m_status->setText(u"找不到“%1”。"_s.arg(text));
}

} // namespace Rt::Internal
