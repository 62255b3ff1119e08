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
#include <QFile>
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
#include <map>
#include <sstream>

namespace {

// The desktop's keyring as a test wants it.
class FakeKeyring : public CodeKeyring
{
public:
    QString unavailableReason() override { return reason; }
    std::optional<QString> read(const QString &user) override
    {
        return codes.count(user) ? std::optional(codes[user]) : std::nullopt;
    }
    bool write(const QString &user, const QString &code) override
    {
        codes[user] = code;
        return true;
    }
    void remove(const QString &user) override { codes.erase(user); }
    QString reason;
    std::map<QString, QString> codes;
};

std::string layoutOf(const ZIVGrid &grid)
{
    pugi::xml_document document;
    grid.exportSettingsToXML(document);
    std::ostringstream text;
    document.print(text);
    return text.str();
}

class Remembered : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(sim.listen(), 0); }
    void TearDown() override { stop(); }
    // A run: the windows with what the last run left, shown; a login asked for is cancelled
    // unless the test answers it.
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
        frmMain = nullptr;
        delete root;
        root = nullptr;
    }
    QString settingsFile() const { return dir.filePath("config/StrikoraKey.ini"); }
    QString statusText() const { return frmMain->statusPanels[1]->text(); }
    QRect available() const { return frmMain->screen()->availableGeometry(); }

    QTemporaryDir dir;
    sim::Server sim;
    FakeKeyring keyring;
};

TEST_F(Remembered, EachThingComesBackAfterARestart)
{
    const struct
    {
        const char *what;
        // Changes a thing in the first run and says how to read it.
        std::function<void()> change;
        std::function<QString()> read;
    } rows[] = {
        {"the window's place and size",
         [this] {
             frmMain->setGeometry(QRect(available().topLeft() + QPoint(30, 20), QSize(700, 420)));
         },
         [] { return QString("%1 %2").arg(frmMain->pos().x()).arg(frmMain->size().width()); }},
        {"a grid's filter, widths and sort keys",
         [] {
             ZIVGrid &grid = *frmMain->frameLive1->lstSummary;
             grid.getColumn("home team", true)->setFilter("ar");
             grid.setColWidth(2, 222);
             grid.SortByColumn(*grid.getColumn("away team", true));
         },
         [] { return QString::fromStdString(layoutOf(*frmMain->frameLive1->lstSummary)); }},
        {"the player list's view and track bars",
         [] {
             frmMain->frPlayers->cbView->setCurrentIndex(2);
             frmMain->frPlayers->trkStamina->setValue(3);
             frmMain->frPlayers->trkForm->setValue(5);
         },
         [] {
             const TframeListPlayers &list = *frmMain->frPlayers;
             return QString("%1 %2 %3")
                 .arg(list.cbView->currentIndex())
                 .arg(list.trkStamina->value())
                 .arg(list.trkForm->value());
         }},
        {"the match search's teams",
         [] {
             frmSelectMatches->teams = {{42, "Lions"}, {7, "Tigers & Co"}};
         },
         [] {
             QString all;
             for (const auto &[id, name] : frmSelectMatches->teams)
                 all += QString::number(id) + QString::fromStdString(name);
             return all;
         }},
        {"the goal-alert switch",
         [] { frmMain->frameLive1->findChild<QAction *>("actNotifyGoals")->setChecked(false); },
         [] {
             return QString::number(
                 frmMain->frameLive1->findChild<QAction *>("actNotifyGoals")->isChecked());
         }},
        {"the last user name, with the code focused",
         [] { frmLogin->txtUsername->setText("demo"); },
         [] {
             frmLogin->show();
             const bool codeFocused = frmLogin->focusWidget() == frmLogin->txtPassword;
             frmLogin->hide();
             return frmLogin->txtUsername->text() + QString::number(codeFocused);
         }},
        {"a followed match waiting, its page's splitter; a cancelled login leaves it waiting",
         [] {
             frmMain->frameLive1->restoreMatch({4711, "Lions", "Tigers", 2, 1});
             TframeLiveMatch *page = frmMain->frameLive1->page(4711);
             frmMain->frameLive1->pages->setCurrentWidget(page);
             page->findChild<QSplitter *>("Splitter1")->setSizes({120, 400});
         },
         [] {
             TframeLive &live = *frmMain->frameLive1;
             if (!live.page(4711))
                 return QString("no page");
             live.pages->setCurrentWidget(live.page(4711));
             const QList<int> sizes = live.page(4711)->findChild<QSplitter *>("Splitter1")->sizes();
             return live.pages->tabText(live.pages->currentIndex()) + " " +
                    QString::number(sizes.value(0));
         }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(settingsFile());
        start();
        const QString before = row.read();
        row.change();
        const QString changed = row.read();
        EXPECT_NE(changed, before) << "the change shows";
        MessageBoxWatch boxes;
        QTimer cancel; // the restored match's poll asks for a login: cancelled
        QObject::connect(&cancel, &QTimer::timeout, [] {
            if (QApplication::activeModalWidget() == frmLogin)
                frmLogin->reject();
        });
        cancel.start(20);
        stop();
        start();
        EXPECT_EQ(row.read().toStdString(), changed.toStdString());
        stop();
    }
}

// Off screen now, or larger than the screen at today's scale: back inside.
TEST_F(Remembered, ARestoredPlaceIsBroughtOnScreen)
{
    for (const QRect &saved : {QRect(50000, 40000, 700, 400), QRect(0, 0, 9000, 7000)}) {
        SCOPED_TRACE(saved.x());
        start();
        frmMain->setGeometry(saved);
        stop();
        start();
        EXPECT_TRUE(available().contains(frmMain->frameGeometry()))
            << frmMain->frameGeometry().x() << " " << frmMain->frameGeometry().width();
        stop();
    }
}

TEST_F(Remembered, ABadFileIsSetAsideAndAWrongValueIgnoredAlone)
{
    const QString aside = settingsFile() + ".bad-" + QDate::currentDate().toString(Qt::ISODate);
    const struct
    {
        const char *what;
        std::function<void()> make;
        bool setAside;
    } rows[] = {
        {"cannot be parsed",
         [this] {
             QFile file(settingsFile());
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("[window\ngeometry=\x01\x02\n[grids");
         },
         true},
        {"cannot be read", [this] { ASSERT_TRUE(QDir().mkpath(settingsFile())); }, true},
        {"a wrong value",
         [this] {
             QSettings file(settingsFile(), QSettings::IniFormat);
             file.setValue("players/view", "three");
             file.setValue("grids/frameLive1",
                           "<ZIVGrid><Name>lstSummary</Name><Column>"
                           "<Name>gone</Name><Size>5</Size></Column></ZIVGrid>");
             file.setValue("login/userName", "demo");
         },
         false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QDir(dir.filePath("config")).removeRecursively();
        QDir().mkpath(dir.filePath("config"));
        QDir().mkpath(dir.filePath("XML"));
        QFile kept(dir.filePath("XML/players_1_x.xml"));
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write("<players/>");
        kept.close();
        row.make();
        start();
        EXPECT_EQ(QFileInfo::exists(aside), row.setAside);
        EXPECT_EQ(statusText().contains(QDir::toNativeSeparators(settingsFile())), row.setAside);
        EXPECT_EQ(frmMain->frPlayers->cbView->currentIndex(), 0);
        EXPECT_EQ(frmMain->frameLive1->lstSummary->getColumn("home team", true)->size() > 0, true);
        EXPECT_EQ(frmLogin->txtUsername->text(), row.setAside ? "" : "demo");
        stop();
        EXPECT_TRUE(QFileInfo(settingsFile()).isFile()) << "a new file is written";
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "<players/>") << "the XML folder is left alone";
        kept.close();
    }
}

TEST_F(Remembered, ResetLayoutPutsWindowsGridsAndSplittersBack)
{
    start();
    const std::string defaults = layoutOf(*frmMain->frameLive1->lstSummary);
    frmMain->resize(600, 300);
    frmMain->frameLive1->lstSummary->getColumn("home team", true)->setFilter("ar");
    frmMain->findChild<QAction *>("mnuResetLayout")->trigger();
    EXPECT_EQ(frmMain->size(), QSize(790, 480));
    EXPECT_EQ(layoutOf(*frmMain->frameLive1->lstSummary), defaults);
    EXPECT_TRUE(statusText().startsWith("Layout reset"));
    EXPECT_EQ(frmMain->findChild<QAction *>("mnuResetLayout")->text(), "Reset &layout");
}

// The keyring is asked only when the user ticks the box; without one the box says why.
TEST_F(Remembered, TheCodeIsKeptInTheKeyringOnlyWhenAsked)
{
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
        {"a refused kept code is forgotten and asked for",
         "",
         "wrong",
         true,
         1,
         {{"demo", "demo"}}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        keyring.reason = row.unavailable;
        keyring.codes.clear();
        if (!row.stored.isEmpty())
            keyring.codes["demo"] = row.stored;
        QFile::remove(settingsFile());
        QSettings(settingsFile(), QSettings::IniFormat).setValue("login/userName", "demo");
        start();
        MessageBoxWatch boxes;
        int dialogs = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget() != frmLogin)
                return;
            ++dialogs;
            EXPECT_EQ(frmLogin->chkRememberCode->isEnabled(), row.unavailable.isEmpty());
            EXPECT_EQ(frmLogin->chkRememberCode->toolTip().contains("No secret service"),
                      !row.unavailable.isEmpty());
            frmLogin->chkRememberCode->setChecked(row.tick);
            frmLogin->txtPassword->setText("demo");
            QTest::keyClick(frmLogin->txtPassword, Qt::Key_Return);
        });
        answer.start(20);
        frmMain->frameLive1->viewNew();
        EXPECT_EQ(dialogs, row.dialogs);
        EXPECT_EQ(root->sessionsOpened(), 1);
        EXPECT_EQ(keyring.codes, row.after);
        stop();
    }
}

} // namespace
