// Start and shut-down of the platform: the Qt application, the C numeric locale, the application's
// active state, and the beep.
#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"

#include <QApplication>
#include <QGuiApplication>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QApplication* gOwnApp = nullptr;
bool gQtStarted = false;
UInt32 gBeeps = 0;

// Started outside a login session (a terminal over ssh, xvfb-run) there is no runtime folder: give Qt
// a private one, as it would make itself, so that a normal start prints nothing.
void EnsureRuntimeFolder() {
    const char* set = std::getenv("XDG_RUNTIME_DIR");
    if (set != nullptr && *set != 0) return;
    const std::string folder = "/tmp/runtime-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    struct stat st;
    if (lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
        (st.st_mode & 0077) == 0)
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}
} // namespace

void PlatformInitialize(int& argc, char** argv) {
    if (!QCoreApplication::instance()) {
        EnsureRuntimeFolder();
        gOwnApp = new QApplication(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Draftwerk"));
        QCoreApplication::setOrganizationDomain(QStringLiteral("quarnwell.com"));
    }
    // Qt sets the user's locale; numbers in files are always read and written in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    PlatformEnsureQt();
}

void PlatformShutdown() {
    while (WindowRef w = GetWindowList())
        DisposeWindow(w);
    if (gOwnApp) {
        delete gOwnApp;
        gOwnApp = nullptr;
        gQtStarted = false;
    }
}

Boolean PlatformHasApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

Boolean PlatformIsOffscreen() {
    if (PlatformHasApplication()) return QGuiApplication::platformName() == QStringLiteral("offscreen");
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    return !qpa || std::strcmp(qpa, "offscreen") == 0;
}

bool PlatformEnsureQt() {
    if (!PlatformHasApplication()) return false;
    if (gQtStarted) return true;
    gQtStarted = true;
    QGuiApplication::setQuitOnLastWindowClosed(false);
    PlatformInstallInputFilter();
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, qApp, [](Qt::ApplicationState state) {
        PlatformRecordApplicationActive(state == Qt::ApplicationActive);
    });
    return true;
}

void PlatformProcessQtEvents() {
    if (PlatformEnsureQt()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SysBeep(SInt16) {
    ++gBeeps;
    if (PlatformHasApplication() && !PlatformIsOffscreen()) QApplication::beep();
}

UInt32 PlatformBeepCount() {
    return gBeeps;
}
