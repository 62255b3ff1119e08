#include "grid/widget/ziv_edit.h"
#include "grid/widget/ziv_grid.h"
#include "service/session.h"
#include "sim/sim_server.h"
#include "support/message_box_watch.h"
#include "ui/code_keyring.h"
#include "ui/live_frame.h"
#include "ui/live_match_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/player_list_frame.h"
#include "ui/select_matches_dialog.h"
#include "ui/startup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

// The desktop's keyring as a test wants it.
class FakeKeyring : public CodeKeyring
{
public:
    QString unavailableReason() override { return reason; }
    // clang-format off
    std::optional<QString> read(const QString &user) override { return codes.count(user) ? std::optional(codes[user]) : std::nullopt; }
    bool write(const QString &user, const QString &code) override { return codes[user] = code, true; }
    // clang-format on
    void remove(const QString &user) override { codes.erase(user); }
    QString reason;
    std::map<QString, QString> codes;
};

QString layoutOf(const ZIVGrid &grid)
{
    pugi::xml_document document;
    grid.exportSettingsToXML(document);
    std::ostringstream text;
    document.print(text);
    return QString::fromStdString(text.str());
}

class Remembered : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(sim.listen(), 0);
        // Every login asked for is answered by `answerLogin`, or cancelled.
        QObject::connect(&loginWatch, &QTimer::timeout, [this] {
            if (QApplication::activeModalWidget() == frmLogin)
                answerLogin ? answerLogin() : frmLogin->reject();
        });
        loginWatch.start(20);
    }
    void TearDown() override { stop(); }
    // A run: the windows with what the last run left, shown.
    void start()
    {
        createGlobalInstances(new Troot(sim.baseUrl(), sim.versionUrl()), dir.filePath("XML"),
                              {settingsFile(), &keyring});
        frmMain->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain));
        QTest::qWait(150); // the version check, then the poll of restored matches
    }
    void stop()
    {
        if (!frmMain)
            return;
        frmMain->close();
        delete frmMain;
        delete root;
        frmMain = nullptr;
        root = nullptr;
    }
    QString settingsFile() const { return dir.filePath("config/StrikoraKey.ini"); }
    static QRect available() { return frmMain->screen()->availableGeometry(); }
    static QString placement()
    {
        return available().contains(frmMain->frameGeometry()) ? "on screen" : "off screen";
    }

    QTemporaryDir dir;
    sim::Server sim;
    FakeKeyring keyring;
    MessageBoxWatch boxes;
    QTimer loginWatch;
    std::function<void()> answerLogin;
};

TframeLiveMatch &restoredPage()
{
    TframeLive &live = *frmMain->frameLive1;
    live.pages->setCurrentWidget(live.page(4711));
    return *live.page(4711);
}

// A thing changed in one run, read again in the next (or, for a place now off the screen or a
// size larger than it, brought back on screen).
TEST_F(Remembered, EachThingComesBackAfterARestart)
{
    TframeListPlayers *players = nullptr;
    const auto bars = [&] { players = frmMain->frPlayers; };
    const auto notify = [] { return frmMain->frameLive1->findChild<QAction *>("actNotifyGoals"); };
    // clang-format off
    const struct
    {
        const char *what;
        std::function<void()> change;
        std::function<QString()> read;
        const char *after = nullptr; // when not what the change showed
    } rows[] = {
        {"the window's place and size",
         [] { frmMain->setGeometry(QRect(available().topLeft() + QPoint(30, 20), QSize(700, 420))); },
         [] { return QString("%1 %2").arg(frmMain->pos().x()).arg(frmMain->width()); }},
        {"a place off the screen", [] { frmMain->setGeometry(50000, 40000, 700, 400); }, placement, "on screen"},
        {"a size larger than the screen", [] { frmMain->setGeometry(0, 0, 9000, 7000); }, placement, "on screen"},
        {"a grid's filter, widths and sort keys",
         [] {
             ZIVGrid &grid = *frmMain->frameLive1->lstSummary;
             grid.getColumn("home team", true)->setFilter("ar");
             grid.setColWidth(2, 222);
             grid.SortByColumn(*grid.getColumn("away team", true));
         },
         [] { return layoutOf(*frmMain->frameLive1->lstSummary); }},
        {"the player list's view and track bars",
         [&] { bars(); players->cbView->setCurrentIndex(2); players->trkStamina->setValue(3); players->trkForm->setValue(5); },
         [&] { bars(); return QString("%1 %2 %3").arg(players->cbView->currentIndex()).arg(players->trkStamina->value()).arg(players->trkForm->value()); }},
        {"the match search's teams", [] { frmSelectMatches->teams = {{42, "Lions"}, {7, "Tigers & Co"}}; },
         [] {
             QString all;
             for (const auto &[id, name] : frmSelectMatches->teams)
                 all += QString::number(id) + QString::fromStdString(name);
             return all;
         }},
        {"the goal-alert switch", [&] { notify()->setChecked(false); }, [&] { return QString::number(notify()->isChecked()); }},
        {"the goal-sound switch", [] { frmMain->frameLive1->chkGoalSounds->setChecked(false); }, [] { return QString::number(frmMain->frameLive1->chkGoalSounds->isChecked()); }},
        {"the last user name, with the code focused", [] { frmLogin->txtUsername->setText("demo"); },
         [] {
             frmLogin->show();
             const bool codeFocused = frmLogin->focusWidget() == frmLogin->txtPassword;
             frmLogin->hide();
             return frmLogin->txtUsername->text() + QString::number(codeFocused);
         }},
        {"a followed match and its page's splitter; a cancelled login leaves it waiting",
         [] {
             frmMain->frameLive1->restoreMatch({4711, "Lions", "Tigers", 2, 1});
             restoredPage().findChild<QSplitter *>("Splitter1")->setSizes({120, 400});
         },
         [] {
             if (!frmMain->frameLive1->page(4711))
                 return QString("no page");
             const int left = restoredPage().findChild<QSplitter *>("Splitter1")->sizes().value(0);
             return frmMain->frameLive1->pages->tabText(frmMain->frameLive1->pages->currentIndex()) + QString::number(left);
         }},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(settingsFile());
        start();
        const QString before = row.read();
        row.change();
        const QString changed = row.read();
        EXPECT_NE(changed, before) << "the change shows";
        stop();
        start();
        EXPECT_EQ(row.read().toStdString(), row.after ? row.after : changed.toStdString());
        stop();
    }
}

// A bad file is renamed aside and said once; a wrong value is ignored alone; XML stays as it was.
TEST_F(Remembered, ABadFileIsSetAsideAndAWrongValueIgnoredAlone)
{
    const QString aside = settingsFile() + ".bad-" + QDate::currentDate().toString(Qt::ISODate);
    const auto write = [this](const QString &path, const QByteArray &text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    // clang-format off
    const struct
    {
        const char *what;
        std::function<void()> make;
        bool setAside;
    } rows[] = {
        {"cannot be parsed", [&] { write(settingsFile(), "[window\ngeometry=\x01\x02\n[grids"); }, true},
        {"cannot be read", [this] { ASSERT_TRUE(QDir().mkpath(settingsFile())); }, true},
        {"a wrong value",
         [this] {
             QSettings file(settingsFile(), QSettings::IniFormat);
             file.setValue("players/view", "three");
             file.setValue("grids/frameLive1", "<ZIVGrid><Name>lstSummary</Name><Column><Name>gone</Name><Size>5</Size></Column></ZIVGrid>");
             file.setValue("login/userName", "demo");
         },
         false},
    };
    // clang-format on
    const QString kept = dir.filePath("XML/players_1_x.xml");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QDir(dir.filePath("config")).removeRecursively();
        QDir().mkpath(dir.filePath("config"));
        QDir().mkpath(dir.filePath("XML"));
        write(kept, "<players/>");
        row.make();
        start();
        EXPECT_EQ(QFileInfo::exists(aside), row.setAside);
        const QString status = frmMain->statusPanels[1]->text();
        EXPECT_EQ(status.contains(QDir::toNativeSeparators(settingsFile())), row.setAside);
        EXPECT_EQ(frmMain->frPlayers->cbView->currentIndex(), 0);
        EXPECT_EQ(frmLogin->txtUsername->text(), row.setAside ? "" : "demo");
        stop();
        EXPECT_TRUE(QFileInfo(settingsFile()).isFile()) << "a new file is written";
        QFile file(kept);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "<players/>") << "the XML folder is left alone";
    }
}

TEST_F(Remembered, ResetLayoutPutsWindowsGridsAndSplittersBack)
{
    start();
    const QString defaults = layoutOf(*frmMain->frameLive1->lstSummary);
    frmMain->resize(600, 300);
    frmMain->frameLive1->lstSummary->getColumn("home team", true)->setFilter("ar");
    QAction *reset = frmMain->findChild<QAction *>("mnuResetLayout");
    EXPECT_EQ(reset->text(), "Reset &layout");
    reset->trigger();
    EXPECT_EQ(frmMain->size(), QSize(790, 480));
    EXPECT_EQ(layoutOf(*frmMain->frameLive1->lstSummary), defaults);
    EXPECT_TRUE(frmMain->statusPanels[1]->text().startsWith("Layout reset"));
}

// The keyring is asked only when the user ticks the box; without one the box says why.
TEST_F(Remembered, TheCodeIsKeptInTheKeyringOnlyWhenAsked)
{
    // clang-format off
    const struct
    {
        const char *what;
        QString unavailable, stored;
        bool tick;
        int dialogs;
        std::map<QString, QString> after;
    } rows[] = {
        {"no keyring: the box is off", "No secret service is running.", "", true, 1, {}},
        {"ticked: kept", "", "", true, 1, {{"demo", "demo"}}},
        {"not ticked: not kept", "", "", false, 1, {}},
        {"a kept code logs in without the dialog", "", "demo", false, 0, {{"demo", "demo"}}},
        {"a refused kept code is forgotten and asked for", "", "wrong", true, 1, {{"demo", "demo"}}},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        keyring.reason = row.unavailable;
        keyring.codes.clear();
        if (!row.stored.isEmpty())
            keyring.codes["demo"] = row.stored;
        QFile::remove(settingsFile());
        QSettings(settingsFile(), QSettings::IniFormat).setValue("login/userName", "demo");
        start();
        int dialogs = 0;
        answerLogin = [&] {
            ++dialogs;
            EXPECT_EQ(frmLogin->chkRememberCode->isEnabled() ? ""
                                                             : frmLogin->chkRememberCode->toolTip(),
                      row.unavailable);
            frmLogin->chkRememberCode->setChecked(row.tick);
            frmLogin->txtPassword->setText("demo");
            QTest::keyClick(frmLogin->txtPassword, Qt::Key_Return);
        };
        frmMain->frameLive1->viewNew();
        EXPECT_EQ(dialogs, row.dialogs);
        EXPECT_EQ(root->sessionsOpened(), 1);
        EXPECT_EQ(keyring.codes, row.after);
        stop();
    }
}

} // namespace
