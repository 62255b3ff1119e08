#pragma once

#include "Engine/datetime.h"
#include "Engine/kstring.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QFile;
class Troot;

// Downloads the four documents of the logged-in user's team through `session` into files of
// `folder`. The documents are one download: they are all fetched, named and written in full
// before any takes its name, so the folder holds whole downloads only. Shows "Download error!"
// with the reason on any failure and leaves the folder as it was; a cancelled login ends it
// silently. True when every document was stored; `warning` then holds what the status bar
// should say of the players document (values that could not be read), or the empty text.
bool downloadTeamData(Troot &session, const QString &folder, kstring *warning = nullptr);
// Writes one document to its file in `folder`, replacing a file of the same name only once
// the new one is complete. Raises "Cannot write <path>: <reason>." when it cannot.
void storeDocument(Troot &session, const QString &folder, const kstring &text);

// The two file operations the store relies on; each gives the reason of a failure, or the
// empty text. Tests replace them to fail where the machine cannot be made to.
struct DocumentFileOperations
{
    // Writes every byte to the open file.
    std::function<QString(QFile &file, const QByteArray &bytes)> write;
    // Renames an entry (a symbolic link itself), replacing what is at `to`.
    std::function<QString(const QString &from, const QString &to)> rename;
};
DocumentFileOperations &documentFileOperations();
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
