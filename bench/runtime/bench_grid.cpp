// Scrolling a bound grid through 100,000 records: what loading, painting a page and
// reading cells cost. Prints milliseconds; run with QT_QPA_PLATFORM=offscreen.
#include "runtime/dataset.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/styles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

constexpr int recordCount = 100'000;

void fill(TDataSet &set)
{
    const int code = set.addField(u"EmployeeCode"_s, TFieldType::String);
    const int name = set.addField(u"EmployeeName"_s, TFieldType::String);
    const int flag = set.addField(u"WorkFlag"_s, TFieldType::Integer);
    const int minutes = set.addField(u"WorkTime"_s, TFieldType::Integer);
    const int date = set.addField(u"ExchgDate"_s, TFieldType::DateTime);
    set.reserve(recordCount);
    const QStringList names{u"张三"_s, u"李四"_s, u"王五"_s, u"赵六"_s};
    for (int i = 0; i < recordCount; ++i) {
        const int r = set.appendRecord();
        set.setString(r, code, QString::number(100000 + i));
        set.setString(r, name, names.at(i % names.size()));
        set.setInteger(r, flag, i % 3 == 0 ? 0 : 1);
        set.setInteger(r, minutes, 480);
        set.setDateTime(r, date, 46000 + i % 365);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    TDataSet set;
    fill(set);
    TDataSource source;
    source.setDataSet(&set);

    TcxStyleRepository repository;
    TcxStyle *odd = repository.createStyle();
    odd->setColor(QColor(0xee, 0xf3, 0xfa));
    TcxStyle *rest = repository.createStyle();
    QFont bold;
    bold.setBold(true);
    rest->setFont(bold);

    TcxGrid grid;
    auto *view = new TcxGridDBTableView(&grid);
    grid.addLevel()->setGridView(view);
    view->styles()->setStyle(Rt::StyleRole::ContentOdd, odd);
    view->setFooterVisible(true);
    TcxImageComboBoxItems flags;
    flags.add(u"0"_s, u"休息"_s);
    flags.add(u"1"_s, u"上班"_s);
    for (const QString &field :
         {u"EmployeeCode"_s, u"EmployeeName"_s, u"WorkFlag"_s, u"WorkTime"_s, u"ExchgDate"_s}) {
        TcxGridColumn *column = view->createColumn();
        column->setFieldName(field);
        column->setCaption(field);
        if (field == u"WorkFlag"_s) {
            column->setValueList(flags);
            column->setContentStyleHandler(
                [rest](TcxCustomGridView *, int record, TcxGridColumn *) -> TcxStyle * {
                    return record % 3 == 0 ? rest : nullptr;
                });
        }
        if (field == u"WorkTime"_s)
            view->addFooterSummary(column, Rt::SummaryKind::Sum, u"合计：0"_s);
    }
    grid.resize(800, 600);
    grid.show();
    app.processEvents();

    QElapsedTimer timer;
    timer.start();
    view->dataController()->setDataSource(&source);
    set.finishLoading();
    app.processEvents();
    out << "load and first paint: " << timer.elapsed() << " ms" << Qt::endl;

    auto *table = grid.findChild<QTableView *>();
    QScrollBar *bar = table->verticalScrollBar();
    constexpr int pages = 500;
    timer.restart();
    for (int page = 0; page < pages; ++page) {
        bar->setValue(bar->maximum() / pages * page);
        table->viewport()->repaint();
    }
    out << "paint one page, scrolled anywhere: " << double(timer.nsecsElapsed()) / 1e6 / pages
        << " ms" << Qt::endl;

    const QAbstractItemModel *model = view->itemModel();
    constexpr int reads = 500'000;
    timer.restart();
    qsizetype length = 0;
    for (int i = 0; i < reads; ++i) {
        const QModelIndex index = model->index(int(qint64(i) * 7919 % recordCount), i % 5);
        length += index.data().toString().size();
        length += index.data(Qt::BackgroundRole).isValid();
    }
    out << "read a cell (text and background): " << double(timer.nsecsElapsed()) / reads << " ns ("
        << length << ")\n";
    out << "footer: " << view->footerText(view->column(3)) << '\n';
    return 0;
}
