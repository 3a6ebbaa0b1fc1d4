#include "runtime/component.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/form.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

class ControlsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The generic commands walk a form's components: a page's controls must be
    // reachable through the page control without entering any Qt internals.
    void pageControlKeepsSheetsAsChildren()
    {
        TForm form;
        auto *pages = new TcxPageControl(&form);
        TcxTabSheet *first = pages->addPage(u"基本信息"_s);
        auto *second = new TcxTabSheet;
        second->setCaption(u"调班记录"_s);
        pages->addPage(second);
        auto *edit = new QLineEdit(second);

        QCOMPARE(first->parent(), pages);
        QCOMPARE(second->parent(), pages);
        QCOMPARE(pages->pageCount(), 2);
        QCOMPARE(pages->page(1), second);
        QCOMPARE(pages->indexOf(second), 1);
        const QList<QObject *> components = Rt::ownedComponents(&form);
        QVERIFY(components.contains(first));
        QVERIFY(components.contains(second));
        QVERIFY(components.contains(edit));
        // The tab bar's scroll buttons are no components of the form.
        QVERIFY(form.findChild<QToolButton *>());
        for (QObject *component : components)
            QVERIFY(!qobject_cast<QToolButton *>(component));
    }

    void pageControlSwitchesPages()
    {
        TcxPageControl pages;
        TcxTabSheet *first = pages.addPage(u"第一页"_s);
        TcxTabSheet *second = pages.addPage(u"第二页"_s);
        pages.resize(300, 200);
        pages.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pages));
        QCOMPARE(pages.activePage(), first);
        QVERIFY(first->isVisible());
        QVERIFY(!second->isVisible());

        QSignalSpy changed(&pages, &TcxPageControl::activePageChanged);
        auto *tabBar = pages.findChild<QTabBar *>();
        QTest::mouseClick(tabBar, Qt::LeftButton, {}, tabBar->tabRect(1).center());
        QCOMPARE(pages.activePage(), second);
        QVERIFY(second->isVisible());
        QVERIFY(!first->isVisible());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<TcxTabSheet *>(), second);

        pages.setActivePage(first);
        QCOMPARE(tabBar->currentIndex(), 0);
        QVERIFY(first->isVisible());
        QCOMPARE(pages.activePageIndex(), 0);

        pages.setActivePageIndex(7);
        QCOMPARE(pages.activePage(), first);
    }

    void tabsFollowTheirSheets()
    {
        TcxPageControl pages;
        TcxTabSheet *first = pages.addPage(u"甲"_s);
        TcxTabSheet *second = pages.addPage(u"乙"_s);
        auto *tabBar = pages.findChild<QTabBar *>();

        second->setCaption(u"乙页"_s);
        QCOMPARE(tabBar->tabText(1), u"乙页"_s);

        delete first;
        QCOMPARE(pages.pageCount(), 1);
        QCOMPARE(tabBar->count(), 1);
        QCOMPARE(tabBar->tabText(0), u"乙页"_s);
        QCOMPARE(pages.activePage(), second);
    }

    // The filter bar: a tabless framed strip with controls at fixed places.
    void tabControlHoldsControlsInItsClientArea()
    {
        TForm form;
        auto *bar = new TcxTabControl(&form);
        bar->setGeometry(0, 0, 600, 43);
        auto *edit = new QLineEdit(bar);
        edit->setGeometry(8, 11, 120, 21);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QCOMPARE(bar->tabCount(), 0);
        const QRect client = bar->clientRect();
        QVERIFY(client.contains(edit->geometry()));
        QCOMPARE(edit->geometry(), QRect(8, 11, 120, 21));
        QVERIFY(Rt::ownedComponents(&form).contains(edit));

        QSignalSpy changed(bar, &TcxTabControl::tabIndexChanged);
        bar->resize(600, 80);
        bar->addTab(u"全部"_s);
        bar->addTab(u"本部门"_s);
        auto *tabBar = bar->findChild<QTabBar *>();
        QVERIFY(tabBar->isVisible());
        QVERIFY(bar->clientRect().top() >= tabBar->geometry().bottom());
        bar->setTabIndex(1);
        QCOMPARE(bar->tabIndex(), 1);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().at(0).toInt(), 1);
    }

    void splitterKeepsTheResizedSide_data()
    {
        QTest::addColumn<TcxSplitter::Side>("side");
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::addColumn<int>("kept");
        QTest::newRow("left") << TcxSplitter::Side::Left << Qt::Horizontal << 0;
        QTest::newRow("right") << TcxSplitter::Side::Right << Qt::Horizontal << 1;
        QTest::newRow("top") << TcxSplitter::Side::Top << Qt::Vertical << 0;
        QTest::newRow("bottom") << TcxSplitter::Side::Bottom << Qt::Vertical << 1;
    }

    void splitterKeepsTheResizedSide()
    {
        QFETCH(TcxSplitter::Side, side);
        QFETCH(Qt::Orientation, orientation);
        QFETCH(int, kept);

        TcxSplitter splitter;
        splitter.setResizedSide(side);
        splitter.addWidget(new TPanel);
        splitter.addWidget(new TPanel);
        QCOMPARE(splitter.orientation(), orientation);
        QCOMPARE(splitter.handleWidth(), 8);
        splitter.resize(400, 400);
        splitter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splitter));
        splitter.setSizes(kept == 0 ? QList<int>{120, 272} : QList<int>{272, 120});

        splitter.resize(700, 700);
        QCOMPARE(splitter.sizes().at(kept), 120);
    }

    void borderlessGroupBoxGivesAllItsArea()
    {
        TcxGroupBox box;
        box.setCaption(u"查询条件"_s);
        box.resize(200, 100);
        QVERIFY(box.contentsRect() != box.rect());

        box.setBorderless(true);
        QCOMPARE(box.contentsRect(), box.rect());
        QVERIFY(box.title().isEmpty());
        QFont font = box.font();
        font.setPixelSize(24);
        box.setFont(font);
        QCOMPARE(box.contentsRect(), box.rect());
        QCOMPARE(box.caption(), u"查询条件"_s);

        box.setBorderless(false);
        QCOMPARE(box.title(), u"查询条件"_s);
        QVERIFY(box.contentsRect() != box.rect());
    }

    // The caption sits in the top line: the children get all the height below it,
    // also after a font change, when the group box would compute its own margins.
    void captionSitsInTheFrameLine()
    {
        TcxGroupBox box;
        box.setCaption(u"说明"_s);
        box.resize(200, 41);
        QCOMPARE(box.contentsRect().top(), box.fontMetrics().height());
        QFont font = box.font();
        font.setPixelSize(20);
        box.setFont(font);
        QCOMPARE(box.contentsRect().top(), box.fontMetrics().height());
        QCOMPARE(box.contentsRect().bottom(), box.height() - 3);

        TcxGroupBox untitled;
        untitled.resize(200, 41);
        QCOMPARE(untitled.contentsRect().top(), 2);
        // The line runs through the caption's middle; left of the caption it shows.
        const QImage image = box.grab().toImage();
        const int line = box.fontMetrics().height() / 2;
        QCOMPARE(image.pixelColor(2, line).rgb(), box.palette().color(QPalette::Dark).rgb());
        QCOMPARE(image.pixelColor(8, line).rgb(), box.palette().color(QPalette::Window).rgb());
    }

    void panelPaintsColourBevelsAndCaption()
    {
        TPanel panel;
        panel.resize(80, 40);
        panel.setColor(Qt::red);
        panel.setBevelOuter(Rt::BevelCut::None);
        QImage image = panel.grab().toImage();
        QCOMPARE(image.pixel(0, 0), QColor(Qt::red).rgb());
        QCOMPARE(image.pixel(40, 20), QColor(Qt::red).rgb());
        QCOMPARE(panel.contentsRect(), panel.rect());

        panel.setBevelOuter(Rt::BevelCut::Raised);
        panel.setBevelInner(Rt::BevelCut::Lowered);
        image = panel.grab().toImage();
        const QPalette palette = panel.palette();
        QCOMPARE(image.pixel(0, 0), palette.color(QPalette::Light).rgb());
        QCOMPARE(image.pixel(79, 39), palette.color(QPalette::Dark).rgb());
        // The inner ring is cut the other way.
        QCOMPARE(image.pixel(78, 38), palette.color(QPalette::Light).rgb());
        QCOMPARE(panel.contentsRect(), panel.rect().adjusted(2, 2, -2, -2));

        panel.setCaption(u"无数据"_s);
        image = panel.grab().toImage();
        bool captionPainted = false;
        for (int x = 20; x < 60 && !captionPainted; ++x)
            captionPainted = image.pixel(x, 20) != QColor(Qt::red).rgb();
        QVERIFY(captionPainted);
    }

    void bevelDrawsAtItsEdge()
    {
        TBevel bevel;
        bevel.resize(50, 10);
        const QColor shadow = bevel.palette().color(QPalette::Dark);
        const QColor light = bevel.palette().color(QPalette::Light);

        bevel.setShape(TBevel::Shape::TopLine);
        QImage image = bevel.grab().toImage();
        QCOMPARE(image.pixel(25, 0), shadow.rgb());
        QCOMPARE(image.pixel(25, 1), light.rgb());
        QVERIFY(image.pixel(25, 9) != shadow.rgb());

        bevel.setShape(TBevel::Shape::BottomLine);
        image = bevel.grab().toImage();
        QCOMPARE(image.pixel(25, 8), shadow.rgb());
        QCOMPARE(image.pixel(25, 9), light.rgb());
        QVERIFY(image.pixel(25, 0) != shadow.rgb());
    }

    void imageListAnswersEveryIndex()
    {
        TImageList images;
        QCOMPARE(images.imageSize(), QSize(16, 16));
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::blue);
        QCOMPARE(images.add(QIcon(pixmap)), 0);
        QCOMPARE(images.add(QIcon(pixmap)), 1);
        QCOMPARE(images.count(), 2);
        QVERIFY(!images.icon(1).isNull());
        QVERIFY(images.icon(-1).isNull());
        QVERIFY(images.icon(2).isNull());
    }
};

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
