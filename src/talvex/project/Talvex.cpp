// The module's two exported functions; nothing else of the module is visible.

#include "HostFactory.h"

#include "runtime/application.h"
#include "talvex/work/WorkWindow.h"

#include <optional>

namespace {

// The application and screen objects the module had before the first
// CreateWindow, given back by CloseWindow. Empty means nothing is saved; a saved
// object may itself be none.
std::optional<TApplication *> savedApplication;
std::optional<TScreen *> savedScreen;
TWorkWindowForm *WorkWindowForm = nullptr;

} // namespace

extern "C" Q_DECL_EXPORT TDllWindowForm *CreateWindow(TApplication *application, TScreen *screen,
                                                      IFactoryIntf *root)
{
    // Held for the call; released also when building the window fails.
    const IntfPtr<IFactoryIntf> callReference(root);

    if (!savedApplication)
        savedApplication = Rt::application();
    Rt::setApplication(application);
    if (!savedScreen)
        savedScreen = Rt::screen();
    Rt::setScreen(screen);

    HostFactory = callReference;

    auto *window = new TWorkWindowForm();
    WorkWindowForm = window;
    return window;
}

extern "C" Q_DECL_EXPORT void CloseWindow()
{
    if (savedApplication) {
        Rt::setApplication(*savedApplication);
        savedApplication.reset();
    }
    if (savedScreen) {
        Rt::setScreen(*savedScreen);
        savedScreen.reset();
    }
    // The root goes first, so that destroying the window can call no host operation.
    HostFactory.reset();
    delete std::exchange(WorkWindowForm, nullptr);
}
