#include "service/session.h"
#include "service/team_download.h"
#include "support/scripted_session_ui.h"
#include "support/service_fake_service.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace {

using Ui = ScriptedSessionUi;

class DownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.isValid());
        ASSERT_TRUE(QDir().mkpath(folder()));
        session.setUi(&ui);
    }
    QString folder() const { return parent.filePath("XML"); }
    // The file names in order, one text, so a failure shows them readably.
    std::string files() const
    {
        return QDir(folder()).entryList(QDir::Files, QDir::Name).join(" | ").toStdString();
    }
    static std::string named(const char *moment, const QStringList &kinds,
                             const char *otherMoment = nullptr)
    {
        QStringList names;
        for (const QString &kind : kinds) {
            names << kind + "_123456_" + moment + ".xml";
            if (otherMoment)
                names << kind + "_123456_" + otherMoment + ".xml";
        }
        return names.join(" | ").toStdString();
    }

    QTemporaryDir parent;
    FakeGameService service;
    Ui ui;
    Troot session{service.mainUrl(), service.mainUrl() + "/init.xml"};
};

const QStringList allKinds{"club", "leagueDetails", "players", "teamDetails"};

TEST_F(DownloadTest, WritesTheFourDocumentsWithCrLfLines)
{
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(session, folder());

    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), named("2005-03-01 12-34-56", allKinds));
    QFile club(QDir(folder()).filePath("club_123456_2005-03-01 12-34-56.xml"));
    ASSERT_TRUE(club.open(QIODevice::ReadOnly));
    EXPECT_EQ(club.readAll(), "<?xml version=\"1.0\"?>\r\n<StrikoraData>\r\n"
                              "<FileName>club.xml</FileName>\r\n<UserID>123456</UserID>\r\n"
                              "<FetchedDate>2005-03-01 12:34:56</FetchedDate>\r\n"
                              "</StrikoraData>\r\n");
}

TEST_F(DownloadTest, EmptyTeamDetailsAreLeftOutSilently)
{
    service.answerWith("teamDetails.asp", "");
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(session, folder());

    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), named("2005-03-01 12-34-56", {"club", "leagueDetails", "players"}));
}

// The four documents are one download: one that fails leaves none of that download, and the
// earlier download stays whole beside it. Broken from the last on, so each fails at its own.
TEST_F(DownloadTest, ADocumentThatFailsLeavesNothingOfThatDownload)
{
    ui.answers = {Ui::login("demo", "demo")};
    ASSERT_TRUE(downloadTeamData(session, folder()));
    const std::string earlier = files();
    service.fetchedDate = "2005-03-01 12:39:56";
    for (const char *page : {"leagueDetails.asp", "teamDetails.asp", "players.asp"}) {
        service.answerWith(page, "<StrikoraData><FileName>players");
        EXPECT_FALSE(downloadTeamData(session, folder())) << page;
        EXPECT_EQ(files(), earlier) << page;
    }
    EXPECT_EQ(ui.downloadErrors, 3);
}

// Values that cannot be read cost no player: the download comes through and says how many.
TEST_F(DownloadTest, UnreadableValuesAreStoredAndNamedOnce)
{
    ui.answers = {Ui::login("demo", "demo")};
    const auto withPlayer = [](const QByteArray &fields) {
        return "<StrikoraData><FileName>players.xml</FileName><UserID>123456</UserID>"
               "<FetchedDate>2005-03-01 12:34:56</FetchedDate><Team><TeamID>77</TeamID>"
               "<PlayerList><Player><PlayerID>40014948</PlayerID>" +
               fields + "</Player></PlayerList></Team></StrikoraData>";
    };
    const char *const file = "players_123456_2005-03-01 12-34-56.xml";
    const struct
    {
        QByteArray fields;
        std::string warning;
    } cases[] = {
        {"<Specialty></Specialty><Age></Age>", ""},
        {"<Specialty>x</Specialty><Age></Age>",
         "1 value in " + std::string(file) + " could not be read; shown as unknown"},
        {"<Specialty>x</Specialty><Age>y</Age>",
         "2 values in " + std::string(file) + " could not be read; shown as unknown"},
    };
    for (const auto &c : cases) {
        service.answerWith("players.asp", withPlayer(c.fields));
        kstring warning = "unset";
        EXPECT_TRUE(downloadTeamData(session, folder(), &warning));
        EXPECT_EQ(std::string(warning), c.warning);
        ASSERT_EQ(session.currentTeam()->players.size(), 1u);
    }
    EXPECT_EQ(ui.downloadErrors, 0);
}

TEST_F(DownloadTest, TwoMomentsLeaveEightFiles)
{
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(session, folder());
    service.fetchedDate = "2005-03-01 12:39:56";
    downloadTeamData(session, folder());

    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), named("2005-03-01 12-34-56", allKinds, "2005-03-01 12-39-56"));
}

TEST_F(DownloadTest, ACancelledLoginEndsSilently)
{
    downloadTeamData(session, folder());
    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), "");
    EXPECT_TRUE(service.server.requests.isEmpty());
}

TEST_F(DownloadTest, ARefusedLoginIsSaidAndCancellingItEndsTheDownloadSilently)
{
    ui.answers = {Ui::login("demo", "wrong")};
    downloadTeamData(session, folder());
    EXPECT_EQ(ui.refusals.size(), 1u);
    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), "");
}

// The XML folder on a filesystem of its own, 64 KiB, for as long as it lives.
struct SmallFilesystem
{
    explicit SmallFilesystem(const QString &folder) : path(folder.toLocal8Bit())
    {
#ifdef __linux__
        mounted = ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") == 0;
#endif
        whyNot = std::strerror(errno);
    }
    ~SmallFilesystem()
    {
#ifdef __linux__
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
#endif
    }
    QByteArray path;
    bool mounted = false;
    std::string whyNot;
};

// Every file of the folder with its content.
QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> found;
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile file(entry.filePath());
        found.insert(entry.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    return found;
}

// Puts the store's own file operations back when a test has replaced them.
struct FileOperationsGuard
{
    ~FileOperationsGuard() { documentFileOperations() = saved; }
    DocumentFileOperations saved = documentFileOperations();
};

enum class StoreFault { FullDisk, WriteFails, CommitFails };

struct StoreFaultCase
{
    const char *name;
    StoreFault fault;
    bool sameMoment; // the documents replace the earlier ones of their names
    const char *inReason;
};

class StoreFaultTest : public DownloadTest, public ::testing::WithParamInterface<StoreFaultCase>
{
};

// A disk that fills up or a rename refused part-way through a download: the download fails
// and says where and why, and the folder holds what it held before, byte for byte.
TEST_P(StoreFaultTest, FailsTheDownloadAndKeepsTheEarlierDocuments)
{
    const StoreFaultCase &c = GetParam();
    std::optional<SmallFilesystem> disk;
    if (c.fault == StoreFault::FullDisk) {
        disk.emplace(folder());
        if (!disk->mounted)
            GTEST_SKIP() << "cannot mount a small filesystem here: " << disk->whyNot;
    }
    ui.answers = {Ui::login("demo", "demo")};
    ASSERT_TRUE(downloadTeamData(session, folder()));
    if (disk) {
        // Fills the disk, then frees two pages: the club document fits, the players one not.
        QFile filler(QDir(folder()).filePath("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) == 4096)
            ;
        ASSERT_TRUE(filler.resize(filler.size() - 8192));
    }
    const QMap<QString, QByteArray> before = contents(folder());
    const QByteArray moment = c.sameMoment ? service.fetchedDate : "2005-03-01 12:39:56";
    service.fetchedDate = moment;
    service.answerWith("players.asp",
                       "<StrikoraData><FileName>players.xml</FileName><UserID>123456</UserID>"
                       "<FetchedDate>" +
                           moment + "</FetchedDate><Team><TeamID>77</TeamID><PlayerList/></Team>" +
                           "<Filler>" + QByteArray(14000, 'p') + "</Filler></StrikoraData>");
    const FileOperationsGuard guard;
    if (c.fault == StoreFault::WriteFails)
        documentFileOperations().write = [&](QFile &file, const QByteArray &bytes) {
            return file.fileName().contains("players_") ? QString("No space left on device")
                                                        : guard.saved.write(file, bytes);
        };
    int intoPlace = 0;
    if (c.fault == StoreFault::CommitFails)
        documentFileOperations().rename = [&](const QString &from, const QString &to) {
            return from.endsWith(".part") && ++intoPlace == 3 ? QString("Permission denied")
                                                              : guard.saved.rename(from, to);
        };

    EXPECT_FALSE(downloadTeamData(session, folder()));

    ASSERT_EQ(ui.downloadErrors, 1);
    const std::string reason = ui.reasons.back();
    EXPECT_EQ(reason.find("Cannot write " + QDir::toNativeSeparators(folder()).toStdString()), 0u)
        << reason;
    EXPECT_NE(reason.find("_123456_" + QByteArray(moment).replace(':', '-').toStdString() +
                          ".xml: " + c.inReason),
              std::string::npos)
        << reason;
    EXPECT_EQ(contents(folder()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StoreFaultTest,
    ::testing::Values(
        StoreFaultCase{"FullDisk", StoreFault::FullDisk, false, "No space left on device"},
        StoreFaultCase{"WriteFails", StoreFault::WriteFails, false, "No space left on device"},
        StoreFaultCase{"CommitFails", StoreFault::CommitFails, false, "Permission denied"},
        StoreFaultCase{"CommitFailsAtTheSameMoment", StoreFault::CommitFails, true,
                       "Permission denied"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
