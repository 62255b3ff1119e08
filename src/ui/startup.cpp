#include "ui/startup.h"

#include "qt_text/qt_text.h"
#include "service/session.h"
#include "service/team_download.h"
#include "service/team_store.h"
#include "ui/about_dialog.h"
#include "ui/code_keyring.h"
#include "ui/error_display.h"
#include "ui/live_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/remembered_settings.h"
#include "ui/select_matches_dialog.h"
#include "ui/select_team_dialog.h"
#include "ui/settings_store.h"
#include "ui/window_session_ui.h"

#include <cstdio> // also defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// The windows of the run; only start-up and the session's window adapter use them.
TfrmMain *frmMain = nullptr;
TfrmLogin *frmLogin = nullptr;
TfrmAbout *frmAbout = nullptr;
TfrmMessage *frmMessage = nullptr;
TfrmSelectBase *frmSelectBase = nullptr;
TfrmSelectTeam *frmSelectTeam = nullptr;
TfrmSelectMatches *frmSelectMatches = nullptr;

namespace {

// Long enough to be read after the window has come up.
constexpr int startMessageMs = 20000;

// Said once, at the start: a settings file that had to be set aside.
void remember(const QString &settingsFile)
{
    auto store = std::make_unique<IniSettingsStore>(settingsFile);
    const QString problem = store->problem();
    auto *remembered =
        new RememberedSettings(std::move(store), *frmMain, *frmLogin, *frmSelectMatches);
    remembered->restore();
    if (!problem.isEmpty())
        frmMain->showTransientMessage(problem, startMessageMs);
}

} // namespace

void createGlobalInstances(Troot *session, const QString &documentsFolder,
                           const Remembering &remembering)
{
    static WindowSessionUi windowUi;
    windowUi.setKeyring(remembering.keyring);
    root = session;
    root->setUi(&windowUi);
    // The user's team from the last download, so the Players page needs no connection.
    kstring startWarning;
    takeInNewestPlayersDocument(*root, documentsFolder, &startWarning);
    frmMain = new TfrmMain(*root, documentsFolder);
    // The dialogs belong to the main window, so they go with it at the end.
    frmLogin = new TfrmLogin(frmMain);
    frmSelectMatches = new TfrmSelectMatches(*root, frmMain);
    frmSelectBase = new TfrmSelectBase(frmMain);
    frmSelectTeam = new TfrmSelectTeam(*root, frmMain);
    frmAbout = new TfrmAbout(frmMain);
    frmMessage = new TfrmMessage(frmMain);
    // Each window gets the dialogs it opens.
    frmMain->setAboutBox(frmAbout);
    frmMain->frameLive1->setMatchSearch(frmSelectMatches);
    frmSelectMatches->setTeamSearch(frmSelectTeam);
    // A stored squad that could not be read, and what is shown instead.
    if (!startWarning.empty())
        frmMain->showTransientMessage(toQString(startWarning), startMessageMs);
    if (!remembering.settingsFile.isEmpty())
        remember(remembering.settingsFile);
}

void settleAllocatorForLongRuns()
{
#if defined(__GLIBC__)
    // Setting a limit at all keeps glibc from moving it.
    constexpr int limit = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, limit);
    mallopt(M_TRIM_THRESHOLD, limit);
#endif
}

int runApplication(int argc, char **argv)
{
    settleAllocatorForLongRuns();
    Application app(argc, argv);
    int result = 1; // unless the run gets as far as the end of the event loop
    guarded([&] {
        static SystemKeyring keyring;
        createGlobalInstances(new Troot, xmlFolder(), {IniSettingsStore::defaultPath(), &keyring});
        frmMain->show();
        result = app.exec();
        delete frmMain;
        frmMain = nullptr;
        delete root;
        root = nullptr;
    });
    return result;
}
