#include "DllWindow.h"
#include "WindowStyling.h"

#include "runtime/application.h"
#include "runtime/barmanager.h"
#include "runtime/component.h"
#include "runtime/timer.h"
#include "talvex/project/HostFactory.h"

#include <QApplication>
#include <QDockWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The host control the window is docked into, if any.
QDockWidget *dockSiteOf(QWidget *window)
{
    for (QWidget *w = window->parentWidget(); w; w = w->parentWidget()) {
        if (auto *dock = qobject_cast<QDockWidget *>(w))
            return dock;
    }
    return nullptr;
}

} // namespace

TDllWindowForm::TDllWindowForm(QWidget *parent)
    : TForm(parent)
{
    setObjectName(u"DllWindowForm"_s);
    setCaption(u"DllWindowForm"_s);
    setGeometry(421, 207, 671, 422);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    dxBarToolBar = new TdxBarManager(this);
    dxBarToolBar->setObjectName(u"dxBarToolBar"_s);
    dxBarToolBar->setStyle(TdxBarManager::Style::Office11);
    dxBarToolBar->setAllowCallFromAnotherForm(true);
    dxBarToolBar->setAlwaysMerge(true);
    dxBarToolBar->setUseSystemFont(true);
    dxBarToolBar->setCategories({u"Default"_s});

    dxToolBar = dxBarToolBar->addBar(u"dxToolBar"_s);
    dxToolBar->setCaption(u"插件工具栏"_s);
    dxToolBar->setDockedLeft(362);
    dxToolBar->setRow(0);
    dxToolBar->setOneOnRow(true);
    dxToolBar->setWholeRow(false);
    dxToolBar->setAllowQuickCustomizing(false);
    dxToolBar->setUseOwnFont(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(dxBarToolBar->topDockControl(this, 26));
}

TDllWindowForm::~TDllWindowForm()
{
    delete m_timer;
}

void TDllWindowForm::SetModified(bool value)
{
    m_modified = value;
    if (QDockWidget *site = dockSiteOf(this))
        site->setWindowTitle(value ? caption() + u'*' : caption());
}

bool TDllWindowForm::GetModified()
{
    return m_modified;
}

void TDllWindowForm::SetFlags(quint16 value)
{
    m_flags = value;
}

quint16 TDllWindowForm::GetFlags()
{
    return m_flags;
}

void TDllWindowForm::RefreshData() {}

bool TDllWindowForm::SaveData()
{
    Rt::messageBox(u"开发人员请注意，SaveData方法需要重载！"_s, u"提示"_s, Rt::Buttons::Ok,
                   Rt::Icon::Information);
    return false;
}

bool TDllWindowForm::CustomQuery()
{
    return false;
}

void TDllWindowForm::CustomAction1() {}

void TDllWindowForm::CustomAction2() {}

void TDllWindowForm::InitWindow()
{
    delete m_timer;
    m_timer = new TTimer();
    m_timer->setEnabled(false);
    m_timer->setInterval(1);
    connect(m_timer, &QTimer::timeout, this, [this] { previewCaptionTick(); });
    applyStyles(this);
}

void TDllWindowForm::FreeWindow()
{
    delete std::exchange(m_timer, nullptr);
}

int TDllWindowForm::GetOperateRight()
{
    return Host::rights()->GetRight(QString::number(Rt::tag(this)));
}

void TDllWindowForm::applyStyles(QObject *container)
{
    WindowStyling::apply(container, [] { return Host::main()->GetStyleRepository(); });
}

// A preview window opened by a spreadsheet control's own print operation gets its
// title set once it has appeared; until then the search repeats on every tick.
void TDllWindowForm::previewCaptionTick()
{
    const QString previewTitle = u"打印预览"_s;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->windowTitle() == previewTitle) {
            top->setWindowTitle(previewTitle);
            m_timer->setEnabled(false);
            return;
        }
    }
}
