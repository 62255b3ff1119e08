#include "service/team_download.h"

#include "Engine/errors.h"
#include "qt_text/qt_text.h"
#include "service/document_name.h"
#include "service/service_paths.h"
#include "service/session.h"
#include "service/session_ui.h"
#include "service/team_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <string>

XMLUtils xmlUtils;

namespace {

// The file name inside the XML folder.
kstring documentName(Troot &session, const kstring &text)
{
    session.loadXml(text);
    return documentFileNameOf(session.xml.document_element());
}

// Every line, however it ended, ends in CR LF.
QByteArray withCrLfLines(const kstring &text)
{
    QByteArray out;
    out.reserve(qsizetype(text.size() + text.size() / 32 + 2));
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        out.append(text.data() + start, qsizetype(i - start)).append("\r\n");
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        out.append(text.data() + start, qsizetype(text.size() - start)).append("\r\n");
    return out;
}

[[noreturn]] void cannotWrite(const QString &path, const QString &why)
{
    throw Exception("Cannot write " + toKstring(QDir::toNativeSeparators(path)) + ": " +
                    toKstring(why) + ".");
}

// QSaveFile writes through a symbolic link to wherever it points; a link at the document's
// name goes, so the new file takes its place inside the folder.
void removeSymbolicLink(const QString &path)
{
    QFile link(path);
    if (QFileInfo(path).isSymbolicLink() && !link.remove())
        cannotWrite(path, "the symbolic link there cannot be removed (" + link.errorString() + ")");
}

void writeWhole(const QString &path, const QByteArray &content)
{
    removeSymbolicLink(path);
    // The earlier file is replaced only when the new one is complete.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return;
    cannotWrite(path, file.errorString());
}

} // namespace

QString xmlFolder()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(programFolder).isWritable())
        return programFolder + "/XML";
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/XML";
}

kstring documentFileName(Troot &session, const kstring &text)
{
    return "XML/" + documentName(session, text);
}

void storeDocument(Troot &session, const QString &folder, const kstring &text)
{
    const kstring name = documentName(session, text);
    writeWhole(QDir(folder).filePath(toQString(name)), withCrLfLines(text));
}

bool downloadTeamData(Troot &session, const QString &folder)
{
    bool stored = false;
    reportingErrors(
        [&] {
            kstring players;
            for (const kstring &path : servicePaths::teamDocuments()) {
                const kstring text = session.fetch(path);
                // A team without details answers with nothing; that document is left out.
                if (text.empty() && path == servicePaths::teamDetails())
                    continue;
                storeDocument(session, folder, text);
                if (path == servicePaths::players())
                    players = text;
            }
            takeInPlayersDocument(session, players);
            stored = true;
        },
        [&](const std::string &reason) {
            session.ui().downloadError(reason.empty() ? kstring("An unknown error occurred.")
                                                      : kstring(reason));
        });
    return stored;
}
