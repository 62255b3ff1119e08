#pragma once

#include "sim/match_engine.h"
#include "sim/schedule.h"

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <vector>

namespace sim {

struct Account;
struct Team;

// The XML answers of the service and of the publisher, as bytes in UTF-8.
namespace documents {

// One answer under construction; every service answer has the same document element.
class Doc
{
public:
    explicit Doc(const char *rootName = "StrikoraData");
    pugi::xml_node root() const { return doc.document_element(); }
    QByteArray bytes() const;

private:
    pugi::xml_document doc;
};

pugi::xml_node add(pugi::xml_node parent, const char *name, const QString &text);
pugi::xml_node add(pugi::xml_node parent, const char *name, int value);
// FileName, UserID and FetchedDate: the head of every document the program may store.
void addHead(pugi::xml_node root, const char *fileName, int userId, double minute);
void addTeamRef(pugi::xml_node parent, const char *side, const Team &team);

QByteArray menu(const QString &recommendedUrl);
QByteArray login(const Account &account, const Team &team, double minute);
// Has none of the elements the program reads, only the reason.
QByteArray error(const QString &message);
QByteArray version(const QString &version, const QString &message);
QByteArray searchResults(const std::vector<const Team *> &teams);

struct LiveEntry
{
    Fixture fixture;
    const Team *home = nullptr;
    const Team *away = nullptr;
    MatchStatus status = MatchStatus::Upcoming;
    Score score;                   // of every event played so far
    std::vector<MatchEvent> fresh; // the events this session has not been sent yet
};

QByteArray live(const std::vector<LiveEntry> &matches, double minute);

} // namespace documents

} // namespace sim
