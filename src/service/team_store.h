#pragma once

#include "Engine/kstring.h"

class QString;
struct PlayersDocument;
class Team;
class Troot;

// Reads a players document into the session's team map: the team with its squad and a name
// record dated at the document's moment. That team becomes the current team. Raises EXmlError
// with the reason for a document that cannot be read; the team map is then unchanged.
Team &takeInPlayersDocument(Troot &session, const kstring &text);
// The same for a document already read.
Team &takeInPlayersDocument(Troot &session, PlayersDocument document);

// The status bar's word on values a players document held that could not be read, as
// "1 value in players_….xml could not be read; shown as unknown"; empty for none.
kstring unreadableValuesNotice(int count, const kstring &fileName);

// The newest readable players document of `folder`, taken in as above; null when the folder
// holds none. Unreadable or foreign files are passed over and left as they are; `warning`
// then names a newer one that could not be read and the date shown instead (empty: nothing
// to say).
Team *takeInNewestPlayersDocument(Troot &session, const QString &folder,
                                  kstring *warning = nullptr);
