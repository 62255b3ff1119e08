#include "service/session.h"
#include "support/scripted_session_ui.h"
#include "support/service_fake_server.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Reply = FakeHttpServer::Reply;

// A service that knows one account, whose name and code hold every character that has a
// meaning in a query.
class AwkwardAccountTest : public ::testing::TestWithParam<std::pair<const char *, const char *>>
{
protected:
    void SetUp() override
    {
        server.listen();
        server.setHandler(
            [this](const FakeHttpServer::Request &request) { return serve(request); });
        session = std::make_unique<Troot>(server.baseUrl(), server.baseUrl() + "/init.xml");
        session->setUi(&ui);
    }

    Reply serve(const FakeHttpServer::Request &request) const
    {
        const QUrl url(QString::fromLatin1(request.target));
        if (url.path() == "/Common/menu.asp")
            return {200,
                    "<Menu><RecommendedURL>" + server.baseUrl() + "</RecommendedURL></Menu>",
                    {},
                    false};
        const QUrlQuery query(url);
        const bool known =
            query.queryItemValue("loginname", QUrl::FullyDecoded) == GetParam().first &&
            query.queryItemValue("readonlypassword", QUrl::FullyDecoded) == GetParam().second;
        if (query.queryItemValue("actionType") == "login")
            return {200, known ? "<R><UserID>9</UserID></R>" : "<R><Error/></R>", {}, false};
        return {200, "<R><Club/></R>", {}, false};
    }

    FakeHttpServer server;
    ScriptedSessionUi ui;
    std::unique_ptr<Troot> session;
};

TEST_P(AwkwardAccountTest, LogsInWithTheEntriesAsTyped)
{
    ui.answers = {ScriptedSessionUi::login(GetParam().first, GetParam().second)};

    EXPECT_EQ(std::string(session->fetch("club.asp?outputType=XML&actionType=view")),
              "<R><Club/></R>");
    EXPECT_TRUE(session->loggedIn);
    EXPECT_EQ(server.requests.size(), 3);
}

INSTANTIATE_TEST_SUITE_P(Accounts, AwkwardAccountTest,
                         ::testing::Values(std::make_pair("a&b=c", "x&readonlypassword=y"),
                                           std::make_pair("plus+sign", "100%"),
                                           std::make_pair("two  blanks ", "#hash?q"),
                                           std::make_pair("M\xC3\xBCller", "%26%3D")));

} // namespace
