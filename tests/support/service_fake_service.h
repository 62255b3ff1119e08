#pragma once

#include "support/service_fake_server.h"

#include <QMap>
#include <QUrl>
#include <QUrlQuery>

// A scripted game service on a FakeHttpServer: the menu points below "/srv", the account
// "demo"/"demo" logs in and gets a session cookie, and each page answers with a team document
// of the current moment. A test can make any page fail a number of times, hang, or answer
// with a text of its own.
class FakeGameService
{
public:
    using Reply = FakeHttpServer::Reply;

    FakeGameService()
    {
        server.listen();
        server.setHandler(
            [this](const FakeHttpServer::Request &request) { return serve(request); });
    }

    QString mainUrl() const { return QString::fromLatin1(server.baseUrl()); }
    QString recommendedUrl() const { return mainUrl() + "/srv"; }

    // Pages by file name ("club.asp", "menu.asp", "default.asp" for the login, "init.xml").
    void failTimes(const QByteArray &page, int times, Reply reply = {500, "", {}, false})
    {
        failures[page] = {times, reply};
    }
    void answerWith(const QByteArray &page, const QByteArray &body) { bodies[page] = body; }
    QList<QByteArray> pagesRequested() const
    {
        QList<QByteArray> pages;
        for (const auto &request : server.requests)
            pages.append(pageOf(request));
        return pages;
    }

    FakeHttpServer server;
    QByteArray fetchedDate = "2005-03-01 12:34:56";

private:
    struct Failure
    {
        int remaining = 0;
        Reply reply;
    };

    static QByteArray pageOf(const FakeHttpServer::Request &request)
    {
        return QUrl(QString::fromLatin1(request.target)).fileName().toLatin1();
    }

    Reply serve(const FakeHttpServer::Request &request)
    {
        const QByteArray page = pageOf(request);
        Failure &failure = failures[page];
        if (failure.remaining != 0) {
            if (failure.remaining > 0)
                --failure.remaining;
            return failure.reply;
        }
        if (bodies.contains(page))
            return {200, bodies[page], {}, false};
        if (page == "menu.asp")
            return {200,
                    "<Menu><RecommendedURL>" + recommendedUrl().toLatin1() +
                        "</RecommendedURL></Menu>",
                    {},
                    false};
        if (page == "default.asp")
            return login(QUrlQuery(QUrl(QString::fromLatin1(request.target))));
        const QByteArray kind = page.left(page.indexOf('.'));
        // The players document names its team, which the download reads.
        const QByteArray team =
            kind == "players" ? "<Team><TeamID>77</TeamID><PlayerList/></Team>\n" : "";
        return {200,
                "<?xml version=\"1.0\"?>\n<StrikoraData>\n<FileName>" + kind +
                    ".xml</FileName>\n<UserID>123456</UserID>\n<FetchedDate>" + fetchedDate +
                    "</FetchedDate>\n" + team + "</StrikoraData>\n",
                {},
                false};
    }

    static Reply login(const QUrlQuery &query)
    {
        if (query.queryItemValue("loginname") != "demo" ||
            query.queryItemValue("readonlypassword") != "demo")
            return {200, "<StrikoraData><Error>Wrong login</Error></StrikoraData>", {}, false};
        return {200,
                "<StrikoraData><UserID>123456</UserID></StrikoraData>",
                {"Set-Cookie: session=s1; Path=/"},
                false};
    }

    QMap<QByteArray, Failure> failures;
    QMap<QByteArray, QByteArray> bodies;
};
