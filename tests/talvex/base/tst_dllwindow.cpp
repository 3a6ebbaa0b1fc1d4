// The base window's own behaviour: styling and the preview-caption timer.

#include "RecordingHost.h"

#include "runtime/application.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/styles.h"
#include "runtime/timer.h"
#include "runtime/treelist/cxtreelist.h"
#include "runtime/vgrid/cxvgrid.h"
#include "talvex/base/DllWindow.h"
#include "talvex/project/HostFactory.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A window holding one of each kind the styling pass knows, some of them inside
// a frame and a tab sheet.
class SampleWindow : public TDllWindowForm
{
public:
    SampleWindow()
    {
        auto *grid = new TcxGrid(this);
        table = new TcxGridTableView(grid);
        dbTable = new TcxGridDBTableView(grid);
        dbBanded = new TcxGridDBBandedTableView(grid);
        grid->addLevel()->setGridView(dbTable);
        tree = new TcxTreeList(this);
        verticalGrid = new TcxDBVerticalGrid(this);
        auto *frame = new TFrame(this);
        frameEdit = new TcxTextEdit(frame);
        auto *pages = new TcxPageControl(this);
        sheetEdit = new TcxButtonEdit(pages->addPage(u"页"_s));
        dateEdit = new TcxDateEdit(this);
    }

    TcxGridTableView *table;
    TcxGridDBTableView *dbTable;
    TcxGridDBBandedTableView *dbBanded;
    TcxTreeList *tree;
    TcxDBVerticalGrid *verticalGrid;
    TcxTextEdit *frameEdit;
    TcxButtonEdit *sheetEdit;
    TcxDateEdit *dateEdit;
};

} // namespace

class DllWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<RecordingHost> host;
    TApplication application;

private Q_SLOTS:
    void init()
    {
        host = std::make_unique<RecordingHost>();
        HostFactory = host->factory();
        Rt::setApplication(&application);
    }
    void cleanup()
    {
        HostFactory.reset();
        host.reset();
    }

    void stylingGivesEachViewItsSheetAndEditorsTheirFocusColour()
    {
        SampleWindow window;
        window.InitWindow();
        TcxStyleRepository *repository = host->styleRepository();
        QCOMPARE(window.table->styles()->styleSheet(), repository->styleSheet(0));
        QCOMPARE(window.dbTable->styles()->styleSheet(), repository->styleSheet(0));
        QCOMPARE(window.dbBanded->styles()->styleSheet(), repository->styleSheet(2));
        QCOMPARE(window.tree->styles()->styleSheet(), repository->styleSheet(1));
        QCOMPARE(window.verticalGrid->styles()->styleSheet(), repository->styleSheet(3));

        // Editors inside a frame and on a tab sheet are reached; a date edit keeps
        // its own focused colour.
        QCOMPARE(Rt::focusedStyle(window.frameEdit)->color(), Rt::infoBackgroundColor());
        QCOMPARE(Rt::focusedStyle(window.sheetEdit)->color(), Rt::infoBackgroundColor());
        QVERIFY(!Rt::focusedStyle(window.dateEdit));
    }

    void failingStyleRepositoryReachesTheCallerWithTheTimerInPlace()
    {
        host->failStyleRepository = true;
        SampleWindow window;
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, window.InitWindow());
        QVERIFY(window.previewCaptionTimer());
    }

    // The preview-caption timer, made by InitWindow and freed by FreeWindow, keeps
    // looking until a preview window appears.
    void previewCaptionTimerStopsOnceThePreviewIsFound()
    {
        TDllWindowForm window;
        QVERIFY(!window.previewCaptionTimer());
        window.InitWindow();
        window.previewCaptionTimer()->setEnabled(true);
        QSignalSpy ticks(window.previewCaptionTimer(), &QTimer::timeout);
        QVERIFY(ticks.wait());
        QVERIFY(window.previewCaptionTimer()->enabled());
        QWidget preview;
        preview.setWindowTitle(u"打印预览"_s);
        preview.show();
        QTRY_VERIFY(!window.previewCaptionTimer()->enabled());
        window.FreeWindow();
        QVERIFY(!window.previewCaptionTimer());
    }
};

QTEST_MAIN(DllWindowTest)
#include "tst_dllwindow.moc"
