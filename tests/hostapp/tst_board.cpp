// 排班总览 over the fixture database: what each kind of day shows, its colours
// and tooltip, the totals with a short day, a day that breaks a rule, the
// selection handed to batch exchanges and swaps, the range limit, following
// saves, the workbook and the print.

#include "HostFixture.h"
#include "ModuleStatements.h"
#include "ReadXls.h"

#include "PdfText.h"
#include "hostapp/board/BoardModel.h"
#include "hostapp/board/BoardPalette.h"
#include "hostapp/board/BoardTotalsModel.h"
#include "hostapp/board/BoardWindow.h"
#include "hostapp/board/BoardWorkbook.h"
#include "hostapp/board/DepartmentTree.h"
#include "hostapp/db/Database.h"
#include "hostapp/db/RuleStore.h"
#include "hostapp/rules/RuleWording.h"
#include "runtime/dialogs.h"
#include "runtime/editors/dateedit.h"
#include "runtime/xls/reader.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItemIterator>

using namespace Qt::StringLiterals;

namespace {

const Schedule::DateRange firstDays{{2026, 12, 1}, {2026, 12, 4}};

// Beside the fixture's days: 王芳 works 07:00-12:00 and 13:00-21:00 on 12-04,
// thirteen hours, past the daily maximum; department 0101 wants two of its
// people on Thursdays, and on 12-03 only 王芳 works.
void addBreaches(Fixture &fixture)
{
    EditorStatements::Entry longDay{u"E001"_s,  u"2026-12-04"_s, u"07:00"_s, u"12:00"_s,
                                    u"13:00"_s, u"21:00"_s,      u"780"_s,   u"赶工"_s,
                                    QString(),  u"admin"_s};
    fixture.desk(u"admin"_s).execSql(EditorStatements::insertExchange(longDay));
    RuleStore::setWeekdayMinimum(fixture.db(), u"0101"_s, 4, 2);
}

BoardData::Selection selectionOf(const QString &department,
                                 const Schedule::DateRange &range = firstDays)
{
    return {Fixture::adminScope(), department, range};
}

BoardData boardOf(Fixture &fixture, const QString &department,
                  const Schedule::DateRange &range = firstDays)
{
    BoardData board = BoardData::read(fixture.db(), selectionOf(department, range));
    board.checkRules(fixture.db(), selectionOf(department, range));
    return board;
}

// Each row as "job number|name|department|day|day|...".
QStringList rowsOf(const QAbstractItemModel &model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

QColor backgroundOf(const QModelIndex &index)
{
    return index.data(Qt::BackgroundRole).value<QBrush>().color();
}

int flagsOf(const BoardModel &model, int row, int day)
{
    return model.index(row, BoardModel::FirstDay + day).data(BoardModel::FlagsRole).toInt();
}

// The board window of the administrator on department 01, 2026-12-01 to 12-04.
class Window
{
public:
    Window()
    {
        addBreaches(host.fixture);
        window.show();
        window.findChild<TcxDateEdit *>(u"edtFrom"_s)->setDate(firstDays.first);
        window.findChild<TcxDateEdit *>(u"edtTo"_s)->setDate(firstDays.last);
        window.findChild<DepartmentTree *>()->choose(u"01"_s);
    }

    QTableView *days() const { return window.findChild<QTableView *>(u"tvBoard"_s); }
    QPushButton *button(const QString &name) const { return window.findChild<QPushButton *>(name); }
    void select(const QList<std::pair<int, int>> &cells)
    {
        QItemSelection selection;
        for (const auto &[row, day] : cells) {
            const QModelIndex index = window.model().index(row, BoardModel::FirstDay + day);
            selection.select(index, index);
        }
        days()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    HostFixture host;
    BoardWindow window{host.session};
};

} // namespace

class BoardTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A planned rest day, a projected day, an exchange over a plan and over
    // nothing, and days with nothing; the day's source in its flags and colours.
    void showsEachKindOfDay()
    {
        Fixture fixture;
        BoardModel model(QDate(2026, 12, 5));
        model.show(boardOf(fixture, u"01"_s));
        QCOMPARE(rowsOf(model), (QStringList{u"10001|王芳|一车间甲班|休|08:00-12:00 13:00-17:30|"
                                             u"*09:00-12:00 13:00-18:00|08:00-12:00 13:00-17:30"_s,
                                             u"HT10002|欧阳 雪|一车间||*07:30-11:30||"_s}));
        QCOMPARE(model.headerData(BoardModel::FirstDay, Qt::Horizontal).toString(), u"12-01\n二"_s);

        QCOMPARE(flagsOf(model, 0, 0), 0);
        QCOMPARE(flagsOf(model, 0, 1), int(BoardData::Projected));
        QCOMPARE(flagsOf(model, 0, 2), int(BoardData::Exchanged));
        QCOMPARE(flagsOf(model, 1, 1), int(BoardData::Exchanged));
        QCOMPARE(flagsOf(model, 1, 2), 0);

        const QModelIndex exchanged = model.index(0, BoardModel::FirstDay + 2);
        QCOMPARE(backgroundOf(exchanged), BoardPalette::exchanged);
        QCOMPARE(model.index(0, BoardModel::FirstDay + 1)
                     .data(Qt::ForegroundRole)
                     .value<QBrush>()
                     .color(),
                 BoardPalette::projectedText);
        QVERIFY(!model.index(0, BoardModel::FirstDay).data(Qt::BackgroundRole).isValid());

        // The exchange's tooltip: what it replaced and who wrote it when, why.
        const QString tip = exchanged.data(Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains(u"调班：09:00-12:00 13:00-18:00"_s), qPrintable(tip));
        QVERIFY2(tip.contains(u"原来（按轮班推算）：08:00-12:00 13:00-17:30"_s), qPrintable(tip));
        QVERIFY2(tip.contains(u"调班理由：培训"_s), qPrintable(tip));
        QVERIFY2(tip.contains(u"操作员：admin"_s), qPrintable(tip));
        QVERIFY2(tip.contains(u"时间：2026-12-01 10:00:00"_s), qPrintable(tip));
        QVERIFY(model.index(1, BoardModel::FirstDay + 1)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(u"原来：没有排班"_s));
        // Eight and a half hours are overtime, noted but not marked as a breach.
        QCOMPARE(model.index(0, BoardModel::FirstDay + 1).data(Qt::ToolTipRole).toString(),
                 u"王芳（10001）2026-12-02 星期三\n按轮班推算：08:00-12:00 13:00-17:30\n"
                 u"加班提醒 daily-overtime（每日加班）：当天工作 8 小时 30 分，超过标准工作日 8 "
                 u"小时，计为加班"_s);
        QCOMPARE(model.index(1, BoardModel::FirstDay).data(Qt::ToolTipRole).toString(),
                 u"欧阳 雪（HT10002）2026-12-01 星期二\n没有排班"_s);

        // Weekends and today head their columns in their own colours.
        BoardModel weekend(QDate(2026, 12, 5));
        weekend.show(boardOf(fixture, u"01"_s, {{2026, 12, 5}, {2026, 12, 6}}));
        QCOMPARE(weekend.headerData(BoardModel::FirstDay, Qt::Horizontal).toString(),
                 u"12-05\n六 今天"_s);
        QCOMPARE(backgroundOf(weekend.index(0, BoardModel::FirstDay)), BoardPalette::today);
        QCOMPARE(backgroundOf(weekend.index(0, BoardModel::FirstDay + 1)), BoardPalette::weekend);
    }

    // A day past the daily maximum is marked and its tooltip names the rule;
    // the total turns red on the day department 0101 is short of its minimum.
    void marksRulesAndShortDays()
    {
        Fixture fixture;
        addBreaches(fixture);
        BoardModel model(QDate(2026, 12, 5));
        BoardTotalsModel totals(model);
        QAbstractItemModelTester boardTester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester totalsTester(
            &totals, QAbstractItemModelTester::FailureReportingMode::QtTest);
        // The days show first; the marks follow when the rules are checked.
        model.show(BoardData::read(fixture.db(), selectionOf(u"01"_s)));
        QVERIFY(!(flagsOf(model, 0, 3) & BoardData::BreaksRule));
        QVERIFY(!totals.isShort(2));
        QSignalSpy totalsChanged(&totals, &QAbstractItemModel::dataChanged);
        model.checkRules(fixture.db(), selectionOf(u"01"_s));
        QCOMPARE(totalsChanged.size(), 1);

        const QModelIndex longDay = model.index(0, BoardModel::FirstDay + 3);
        QCOMPARE(longDay.data().toString(), u"*07:00-12:00 13:00-21:00"_s);
        QVERIFY(flagsOf(model, 0, 3) & BoardData::BreaksRule);
        QVERIFY(!(flagsOf(model, 0, 2) & BoardData::BreaksRule));
        QCOMPARE(backgroundOf(longDay), BoardPalette::breach);
        const QString tip = longDay.data(Qt::ToolTipRole).toString();
        QVERIFY2(
            tip.contains(u"违反规则 daily-max（每日工时上限）：当天工作 13 小时，超过 11 小时"_s),
            qPrintable(tip));

        QStringList counts;
        for (int d = 0; d < totals.columnCount(); ++d)
            counts << totals.index(0, d).data().toString() + (totals.isShort(d) ? u"!"_s : u""_s);
        QCOMPARE(counts, (QStringList{u"0"_s, u"2"_s, u"1!"_s, u"1"_s}));
        QCOMPARE(backgroundOf(totals.index(0, 2)), BoardPalette::shortDay);
        QVERIFY(!totals.index(0, 1).data(Qt::BackgroundRole).isValid());
        QCOMPARE(totals.index(0, 2).data(Qt::ToolTipRole).toString(),
                 u"2026-12-03 在岗 1 人\n一车间 2026-12-03 在岗 1 人，低于最少 2 人"_s);

        // The whole scope shows the same short day; a department outside 0101 does not.
        model.show(boardOf(fixture, QString()));
        QVERIFY(totals.isShort(2));
        model.show(boardOf(fixture, u"02"_s));
        QVERIFY(!totals.isShort(2));
        QCOMPARE(model.rowCount(), 2);
    }

    // The chosen cells as batch exchanges and swaps take them, and which of the
    // two buttons they allow.
    void handsOnTheSelection()
    {
        Window w;
        QCOMPARE(w.window.model().rowCount(), 2);
        QVERIFY(!w.button(u"btnBatch"_s)->isEnabled());
        QVERIFY(!w.button(u"btnSwap"_s)->isEnabled());

        QSignalSpy batch(&w.window, &BoardWindow::batchRequested);
        QSignalSpy swap(&w.window, &BoardWindow::swapRequested);
        w.select({{1, 3}, {0, 1}, {0, 0}});
        const BoardCells three{
            {u"E001"_s, {2026, 12, 1}}, {u"E001"_s, {2026, 12, 2}}, {u"E002"_s, {2026, 12, 4}}};
        QCOMPARE(w.window.selectedCells(), three);
        QVERIFY(w.button(u"btnBatch"_s)->isEnabled());
        QVERIFY(!w.button(u"btnSwap"_s)->isEnabled());
        w.button(u"btnBatch"_s)->click();
        QCOMPARE(batch.size(), 1);
        QCOMPARE(batch.at(0).at(0).value<BoardCells>(), three);

        // Everything chosen: every day of every employee, never the name columns.
        w.days()->selectAll();
        QCOMPARE(w.window.selectedCells().size(), 8);
        QVERIFY(w.button(u"btnBatch"_s)->isEnabled());
        QVERIFY(!w.button(u"btnSwap"_s)->isEnabled());

        // Two days of one employee cannot be swapped; one day each of two can.
        w.select({{0, 1}, {0, 2}});
        QVERIFY(!w.button(u"btnSwap"_s)->isEnabled());
        w.select({{1, 2}, {0, 1}});
        QVERIFY(w.button(u"btnSwap"_s)->isEnabled());
        w.button(u"btnSwap"_s)->click();
        QCOMPARE(swap.size(), 1);
        QCOMPARE(swap.at(0).at(0).value<BoardCell>(), (BoardCell{u"E001"_s, {2026, 12, 2}}));
        QCOMPARE(swap.at(0).at(1).value<BoardCell>(), (BoardCell{u"E002"_s, {2026, 12, 3}}));
    }

    // More than 62 days, or an end before the start, is refused with a message and
    // the board stays; a save anywhere reads the board again.
    void limitsTheRangeAndFollowsSaves()
    {
        Window w;
        auto *to = w.window.findChild<TcxDateEdit *>(u"edtTo"_s);
        to->setDate(QDate(2027, 2, 1)); // 63 days
        w.button(u"btnRefresh"_s)->click();
        QCOMPARE(w.host.messages.size(), 1);
        QCOMPARE(w.host.messages.at(0).text,
                 u"2026-12-01 至 2027-02-01 共 63 天，排班总览最多显示 62 天，请缩短日期范围。"_s);
        QCOMPARE(w.window.model().board().dayCount(), 4);
        to->setDate(QDate(2027, 1, 31)); // 62 days
        w.button(u"btnRefresh"_s)->click();
        QCOMPARE(w.host.messages.size(), 1);
        QCOMPARE(w.window.model().board().dayCount(), 62);
        to->setDate(QDate(2026, 11, 30));
        w.button(u"btnRefresh"_s)->click();
        QCOMPARE(w.host.messages.last().text, u"起始日期 2026-12-01 晚于结束日期 2026-11-30。"_s);
        QCOMPARE(w.window.model().board().dayCount(), 62);

        w.host.fixture.desk(u"admin"_s)
            .execSql(EditorStatements::insertExchange(exchange(u"E002"_s, u"2026-12-03"_s)));
        Q_EMIT w.host.session.dataSaved();
        QCOMPARE(w.window.model().index(1, BoardModel::FirstDay + 2).data().toString(), u"*休"_s);
        QCOMPARE(w.window.findChild<QLabel *>(u"lblCount"_s)->text(),
                 u"2 名员工，2026-12-01 至 2027-01-31"_s);
    }

    // The workbook as another program reads it: captions, days, totals and the
    // legend, the colours of the cells, and several sheets when one is full.
    void exportsTheBoard()
    {
        Window w;
        QTemporaryDir dir;
        const QString file = dir.filePath(u"board.xls"_s);
        Rt::setFileDialogResponder([&](TFileDialog &dialog) {
            dialog.setFileName(file);
            return true;
        });
        w.button(u"btnExport"_s)->click();
        Rt::setFileDialogResponder({});

        const QStringList rows = readXls(file);
        QVERIFY2(rows.size() > 6, qPrintable(rows.join(u'\n')));
        QCOMPARE(rows.at(0).section(u'\t', 0, 0), u"排班总览 生产部 2026-12-01 至 2026-12-04"_s);
        QCOMPARE(rows.at(1), u"工号\t姓名\t部门\t12-01 二\t12-02 三\t12-03 四\t12-04 五"_s);
        QCOMPARE(rows.at(2), u"10001\t王芳\t一车间甲班\t休\t08:00-12:00 13:00-17:30\t"
                             u"*09:00-12:00 13:00-18:00\t*07:00-12:00 13:00-21:00"_s);
        QCOMPARE(rows.at(4), u"在岗人数\t\t\t0\t2\t1\t1"_s);
        // The legend after a blank row, its colours as the cells have them.
        QCOMPARE(rows.mid(5),
                 (QStringList{u"\t\t\t\t\t\t"_s, u"图例\t\t08:00-17:00\t排班计划\t\t\t"_s,
                              u"\t\t*08:00-17:00\t调班 *\t\t\t"_s,
                              u"\t\t08:00-21:00\t违反工时规则\t\t\t"_s, u"\t\t休\t休息日\t\t\t"_s,
                              u"\t\t\t周末\t\t\t"_s, u"\t\t\t今天\t\t\t"_s,
                              u"\t\t11\t低于最少在岗人数\t\t\t"_s}));

        const Rt::Xls::Workbook book = Rt::Xls::readWorkbook(file);
        const Rt::Xls::Sheet &sheet = book.sheet(0);
        auto fillAt = [&](int row, int column) {
            return book.styles().at(sheet.cell(row, column)->style).fill;
        };
        QCOMPARE(fillAt(2, BoardModel::FirstDay + 2), BoardPalette::exchanged.rgb());
        QCOMPARE(fillAt(2, BoardModel::FirstDay + 3), BoardPalette::breach.rgb());
        QCOMPARE(fillAt(4, BoardModel::FirstDay + 2), BoardPalette::shortDay.rgb());
        QCOMPARE(fillAt(4, BoardModel::FirstDay + 1), Rt::Xls::CellStyle::NoFill);
        QCOMPARE(fillAt(7, BoardModel::Department), BoardPalette::exchanged.rgb());
        QCOMPARE(fillAt(12, BoardModel::Department), BoardPalette::shortDay.rgb());

        // One employee a sheet: two sheets, the totals and legend after the last.
        BoardWorkbook::write(w.window.model(), u"排班总览"_s, file, 1);
        const QStringList split = readXls(file);
        const Rt::Xls::Workbook two = Rt::Xls::readWorkbook(file);
        QCOMPARE(two.sheetCount(), 2);
        QCOMPARE(two.sheet(0).name(), u"排班总览1"_s);
        QCOMPARE(two.sheet(0).rowCount(), 3);
        QCOMPARE(two.sheet(1).cell(2, 1)->value.str(), u"欧阳 雪"_s);
        QCOMPARE(two.sheet(1).cell(3, 0)->value.str(), u"在岗人数"_s);
        QVERIFY(split.contains(u"HT10002\t欧阳 雪\t一车间\t\t*07:30-11:30\t\t"_s));
    }

    // The clerk's board: his branch in the tree, its employees on the board.
    void keepsToTheOperatorsScope()
    {
        HostFixture host(u"clerk"_s);
        BoardWindow window(host.session);
        auto *tree = window.findChild<DepartmentTree *>();
        QStringList nodes;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            QString indent;
            for (QTreeWidgetItem *up = (*it)->parent(); up; up = up->parent())
                indent += u"  "_s;
            nodes << indent + (*it)->text(0);
        }
        QCOMPARE(nodes, (QStringList{u"全部部门"_s, u"  [02]营销中心"_s, u"    [01]华东销售部"_s}));
        QStringList names;
        for (int r = 0; r < window.model().rowCount(); ++r)
            names << window.model().index(r, BoardModel::Name).data().toString();
        QCOMPARE(names, (QStringList{u"李明"_s, u"陈静"_s}));
        QVERIFY(!tree->choose(u"01"_s));
    }

    // The warnings in the operator's words, as the rules' examples word them.
    void wordsTheBreaches_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("text");
        using Schedule::Rule;
        QTest::newRow("monthly-overtime") << int(Rule::MonthlyOvertime) << 38 * 60 << 36 * 60
                                          << u"本月加班已达 38 小时，超过 36 小时"_s;
        QTest::newRow("rest-days")
            << int(Rule::RestDays) << 7 << 7 << u"连续工作 7 天，没有休息日"_s;
        QTest::newRow("coverage") << int(Rule::Coverage) << 11 << 12
                                  << u"一车间甲班 2026-12-08 在岗 11 人，低于最少 12 人"_s;
        QTest::newRow("daily-max, minutes")
            << int(Rule::DailyMax) << 661 << 660 << u"当天工作 11 小时 1 分，超过 11 小时"_s;
        QTest::newRow("daily-rest")
            << int(Rule::DailyRest) << 540 << 660 << u"两个工作日之间只休息 9 小时，少于 11 小时"_s;
    }
    void wordsTheBreaches()
    {
        QFETCH(int, rule);
        QFETCH(int, value);
        QFETCH(int, limit);
        QFETCH(QString, text);
        BreachRow breach;
        breach.rule = Schedule::Rule(rule);
        breach.deptCode = u"010101"_s;
        breach.day = QDate(2026, 12, 8);
        breach.value = value;
        breach.limit = limit;
        QCOMPARE(RuleWording::describe(breach, u"一车间甲班"_s), text);
    }

    // The print holds every employee's name, the days with their marks and the
    // totals.
    void printsToPdf()
    {
        Window w;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"board.pdf"_s);
        w.host.session.setPrintToFile(pdf);
        w.button(u"btnPrint"_s)->click();
        const std::optional<QString> text = pdfText(pdf);
        QVERIFY(text);
        for (const QString &expected :
             {u"王芳"_s, u"欧阳 雪"_s, u"12-03 四"_s, u"在岗人数"_s, u"*07:00-12:00 13:00-21:00!"_s,
              u"1 不足"_s, u"排班总览 生产部 2026-12-01 至 2026-12-04"_s})
            QVERIFY2(text->contains(expected), qPrintable(expected + u" not in\n"_s + *text));
    }
};

QTEST_MAIN(BoardTest)
#include "tst_board.moc"
