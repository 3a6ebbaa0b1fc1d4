#include "runtime/component.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/form.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

using namespace Qt::StringLiterals;

class ControlsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        splitter.resize(400, 400);
        splitter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splitter));
        splitter.setSizes(kept == 0 ? QList<int>{120, 272} : QList<int>{272, 120});

        splitter.resize(700, 700);
        QCOMPARE(splitter.sizes().at(kept), 120);
    }

    // The caption sits in the top line: the children get all the height below it,
    // also after a font change; a borderless box gives them everything.
    void groupBoxGivesItsChildrenTheirArea()
    {
        TcxGroupBox box;
        box.setCaption(u"说明"_s);
        box.resize(200, 41);
        QFont font = box.font();
        font.setPixelSize(20);
        box.setFont(font);
        QCOMPARE(box.contentsRect().top(), box.fontMetrics().height());
        QCOMPARE(box.contentsRect().bottom(), box.height() - 3);
        box.setBorderless(true);
        QCOMPARE(box.contentsRect(), box.rect());
        QVERIFY(box.title().isEmpty());
        box.setBorderless(false);
        QCOMPARE(box.title(), u"说明"_s);
    }
};

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
