#include "service/team_search.h"

#include "Engine/convert.h"
#include "service/service_paths.h"
#include "service/session.h"

std::vector<kstring> teamSearchFields(const TeamCriterion &criterion)
{
    return criterion.byId ? servicePaths::searchTeamById(criterion.teamId)
                          : servicePaths::searchTeamByName(criterion.name);
}

void readSearchResults(const pugi::xml_document &results, TFoundTeams &found)
{
    for (const pugi::xml_node &block : results.document_element().children("SearchResults")) {
        for (const pugi::xml_node &result : block.children("Result"))
            found[toInt(result.child("ResultID").text().get())] =
                result.child("ResultName").text().get();
    }
}

void searchTeams(Troot &session, const TeamCriterion &criterion, TFoundTeams &found)
{
    session.loadXml(session.post(servicePaths::search(), teamSearchFields(criterion)));
    readSearchResults(session.xml, found);
}
