#pragma once

#include "Engine/datetime.h"
#include "Engine/kstring.h"

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

class Troot;

// Downloads the four documents of the logged-in user's team through `session` into files of
// `folder`. Shows "Download error!" with the reason on any failure; a cancelled login ends it
// silently. Files already written stay. True when every document was stored.
bool downloadTeamData(Troot &session, const QString &folder);
// Writes one document to its file in `folder`, replacing a file of the same name only once
// the new one is complete.
void storeDocument(Troot &session, const QString &folder, const kstring &text);
// Loads the document into the session's XML document and forms its file name, relative to
// the XML folder's parent: "XML/" + kind + "_" + user id + "_" + fetched date + ".xml".
// Characters a file name cannot hold become "_", so the name never leaves the folder.
kstring documentFileName(Troot &session, const kstring &text);

// The folder the downloads go to: "XML" beside the executable when that folder is writable
// (a portable install), otherwise "XML" in the user's application data folder.
QString xmlFolder();

// The in-memory store of downloaded documents by user, kind and moment. Nothing fills it yet.
class XMLUtils
{
public:
    using Date_XML = std::map<TDateTime, std::vector<kstring>>;
    using Type_Date_XML = std::map<kstring, Date_XML>;
    using User_Type_Date_XML = std::map<std::int32_t, Type_Date_XML>;

    User_Type_Date_XML documents;
};

extern XMLUtils xmlUtils;
