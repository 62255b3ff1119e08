#include "Engine/errors.h"
#include "service/session.h"
#include "service/team_download.h"
#include "service/team_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#ifdef __unix__
#include <sys/resource.h>
#endif

namespace {

kstring document(const std::string &fileName, const std::string &userId,
                 const std::string &fetchedDate, const std::string &filler = "")
{
    return "<?xml version=\"1.0\"?>\r\n<StrikoraData>\r\n<FileName>" + fileName +
           "</FileName>\r\n<UserID>" + userId + "</UserID>\r\n<FetchedDate>" + fetchedDate +
           "</FetchedDate>" + filler + "\r\n</StrikoraData>";
}

class DocumentStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.isValid());
        folder = parent.filePath("XML");
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    // Every entry of the folder, one text, so a failure shows them readably.
    std::string filesIn(const QString &path) const
    {
        return QDir(path)
            .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)
            .join(" | ")
            .toStdString();
    }
    QByteArray contentOf(const QString &name) const
    {
        QFile file(QDir(folder).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir parent;
    QString folder;
    Troot session;
};

struct NameCase
{
    const char *fileName;
    const char *userId;
    const char *fetchedDate;
    const char *expected;
};

class DocumentFileNameTest : public DocumentStoreTest,
                             public ::testing::WithParamInterface<NameCase>
{
};

TEST_P(DocumentFileNameTest, FormsASafeNameInsideTheFolder)
{
    const NameCase &c = GetParam();
    EXPECT_EQ(std::string(documentFileName(session, document(c.fileName, c.userId, c.fetchedDate))),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DocumentFileNameTest,
    ::testing::Values(NameCase{"club.xml", "123456", "2005-03-01 12:34:56",
                               "XML/club_123456_2005-03-01 12-34-56.xml"},
                      NameCase{"players", "7", "2005-03-01", "XML/players_7_2005-03-01.xml"},
                      NameCase{"teamDetails.v2.xml", "-3", "", "XML/teamDetails_-3_.xml"},
                      NameCase{"club.xml", "1", "../../x", "XML/club_1_.._.._x.xml"},
                      NameCase{"club.xml", "1", "..\\..\\x", "XML/club_1_.._.._x.xml"},
                      NameCase{"a/b\\c.xml", "1", "*?&quot;&lt;&gt;|", "XML/a_b_c_1_______.xml"},
                      NameCase{"club.xml", "1", "tab\there&#x1;", "XML/club_1_tab_here_.xml"},
                      NameCase{"kl\xC3\xBC"
                               "b.xml",
                               "1", "d",
                               "XML/kl\xC3\xBC"
                               "b_1_d.xml"}));

struct BadDocumentCase
{
    const char *name;
    kstring text;
};

class BadDocumentTest : public DocumentStoreTest,
                        public ::testing::WithParamInterface<BadDocumentCase>
{
};

// Nothing is written for a document that cannot be named.
TEST_P(BadDocumentTest, RaisesAndWritesNothing)
{
    EXPECT_THROW(storeDocument(session, folder, GetParam().text), Exception);
    EXPECT_EQ(filesIn(folder), "");
}

INSTANTIATE_TEST_SUITE_P(
    Documents, BadDocumentTest,
    ::testing::Values(BadDocumentCase{"Empty", ""},
                      BadDocumentCase{"NotXml", "Service unavailable"},
                      BadDocumentCase{"NoUserId", "<StrikoraData><FileName>club.xml</FileName>"
                                                  "</StrikoraData>"},
                      BadDocumentCase{"UserIdNotANumber", document("club.xml", "12a", "d")},
                      BadDocumentCase{"UserIdOutOfRange",
                                      document("club.xml", "99999999999", "d")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DocumentStoreTest, WritesEveryLineEndingInCrLf)
{
    const kstring text = "<StrikoraData><FileName>club.xml</FileName><UserID>5</UserID>\r\n"
                         "<FetchedDate>d</FetchedDate>\rmac\nunix\n\n</StrikoraData>";
    storeDocument(session, folder, text);
    EXPECT_EQ(filesIn(folder), "club_5_d.xml");
    EXPECT_EQ(contentOf("club_5_d.xml"),
              "<StrikoraData><FileName>club.xml</FileName><UserID>5</UserID>\r\n"
              "<FetchedDate>d</FetchedDate>\r\nmac\r\nunix\r\n\r\n</StrikoraData>\r\n");
}

TEST_F(DocumentStoreTest, AHostileDateStaysInsideTheFolder)
{
    storeDocument(session, folder, document("club.xml", "1", "../../escaped"));
    EXPECT_EQ(filesIn(folder), "club_1_.._.._escaped.xml");
    EXPECT_EQ(filesIn(parent.path()), "XML");
}

#ifdef __unix__
// A link at the document's name, dangling or to a file outside the folder, is replaced.
TEST_F(DocumentStoreTest, ALinkAtTheTargetNameIsReplacedNotFollowed)
{
    const QString outside = QDir(parent.path()).filePath("outside.txt");
    for (const bool targetExists : {true, false}) {
        QFile::remove(outside);
        if (targetExists) {
            QFile file(outside);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("keep me");
        }
        const QString name = QDir(folder).filePath("club_1_d.xml");
        QFile::remove(name);
        ASSERT_TRUE(QFile::link(outside, name));

        storeDocument(session, folder, document("club.xml", "1", "d", "<new/>"));

        EXPECT_FALSE(QFileInfo(name).isSymbolicLink());
        EXPECT_TRUE(contentOf("club_1_d.xml").contains("<new/>"));
        EXPECT_EQ(QFile::exists(outside), targetExists);
        if (targetExists) {
            QFile file(outside);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), "keep me");
        }
    }
}
#endif

TEST_F(DocumentStoreTest, AMissingFolderIsAnError)
{
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_THROW(storeDocument(session, folder, document("club.xml", "1", "d")), Exception);
}

#ifdef __unix__
// A limit on the file size makes the second write fail part-way; the earlier file of the same
// name must come through whole and no temporary file may be left behind.
TEST_F(DocumentStoreTest, AFailedWriteKeepsTheEarlierFile)
{
    const kstring first = document("club.xml", "1", "d", "<old/>");
    storeDocument(session, folder, first);
    const QByteArray earlier = contentOf("club_1_d.xml");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool raised = false;
    try {
        storeDocument(session, folder, document("club.xml", "1", "d", std::string(20000, 'x')));
    } catch (const Exception &) {
        raised = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(raised);
    EXPECT_EQ(contentOf("club_1_d.xml"), earlier);
    EXPECT_EQ(filesIn(folder), "club_1_d.xml");
}
#endif

// At start-up the newest stored squad is shown; when a newer file cannot be read, the status
// bar says which one and which date is shown instead.
TEST_F(DocumentStoreTest, ANewerDocumentThatCannotBeReadIsNamed)
{
    const auto squad = [](const std::string &date, const std::string &field) {
        return "<StrikoraData><FileName>players.xml</FileName><FetchedDate>" + date +
               "</FetchedDate><Team><TeamID>9</TeamID><PlayerList><Player><PlayerID>1</PlayerID>" +
               field + "</Player></PlayerList></Team></StrikoraData>";
    };
    const std::string older = "players_9_2005-03-01 12-34-56.xml";
    const std::string newer = "players_9_2005-03-01 12-39-56.xml";
    const std::string broken = "<StrikoraData><Team>";
    const struct
    {
        std::string olderContent, newerContent;
        bool shown;
        std::string warningStart, warningEnd;
    } cases[] = {
        {squad("2005-03-01 12:34:56", ""), broken, true, "Could not read " + newer + " (Not a",
         "); showing the squad of 2005-03-01 12:34:56 instead"},
        {broken, squad("2005-03-01 12:39:56", ""), true, "", ""},
        {broken, broken, false, "Could not read " + newer, "); no squad is shown"},
        {squad("2005-03-01 12:34:56", ""), std::string(4 * 1024 * 1024 + 1, ' '), true,
         "Could not read " + newer + " (",
         "4 MiB)); showing the squad of 2005-03-01 12:34:56 instead"},
        {"", squad("2005-03-01 12:39:56", "<Age>x</Age>"), true,
         "1 value in " + newer + " could not be read; shown as unknown", ""},
    };
    for (const auto &c : cases) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        for (const auto &[name, content] :
             {std::pair(older, c.olderContent), {newer, c.newerContent}}) {
            QFile file(QDir(folder).filePath(QString::fromStdString(name)));
            if (!content.empty() && file.open(QIODevice::WriteOnly))
                file.write(content.data(), qint64(content.size()));
        }
        kstring warning = "unset";
        EXPECT_EQ(takeInNewestPlayersDocument(session, folder, &warning) != nullptr, c.shown);
        EXPECT_EQ(warning.rfind(c.warningStart, 0), 0u) << warning;
        EXPECT_TRUE(std::string(warning).ends_with(c.warningEnd)) << warning;
    }
}

} // namespace
