#include "service/team_download.h"

#include "Engine/errors.h"
#include "players/players_document.h"
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
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Acts on a symbolic link itself, never on where it points, and replaces an existing file.
QString renameEntry(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    return error ? QString::fromStdString(error.message()) : QString();
}

// Every byte or the reason why not. Unbuffered, so a full disk shows at the write that meets
// it and not at a flush that nobody checks.
QString writeAll(QFile &file, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            return file.errorString();
        written += step;
    }
#ifdef Q_OS_UNIX
    // Some filesystems report a full disk only when the data reaches it.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP)
        return QString::fromLocal8Bit(std::strerror(errno));
#endif
    return {};
}

bool existsAsEntry(const QString &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(fsPath(path), error));
}

// A file or a symbolic link itself, dangling or not.
void removeEntry(const QString &path)
{
    std::error_code error;
    std::filesystem::remove(fsPath(path), error);
}

// One document of a download on its way to its name. Nothing under a document's name is
// touched until every document of the download has been written in full.
struct PendingDocument
{
    QString path;
    QString partial;  // the new content, written completely before any commit
    QString previous; // the earlier file of the same name, kept until the download is whole
    bool setAside = false;
    bool committed = false;
};

// Names beside the document that the start-up reading never takes for one; numbered, so two
// documents of one download never share one.
QString besideName(const QString &path, std::size_t index, const char *suffix)
{
    const QFileInfo info(path);
    return info.dir().filePath("." + info.fileName() + "." + QString::number(index) + suffix);
}

void writePartial(const PendingDocument &document, const QByteArray &content)
{
    if (QFileInfo(document.path).isDir() && !QFileInfo(document.path).isSymLink())
        cannotWrite(document.path, "a folder has that name");
    // A leftover of an interrupted download goes; a fresh file is never a link to elsewhere.
    removeEntry(document.partial);
    QFile file(document.partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        cannotWrite(document.path, file.errorString());
    const QString failed = documentFileOperations().write(file, content);
    file.close();
    if (failed.isEmpty() && file.error() == QFileDevice::NoError)
        return;
    removeEntry(document.partial);
    cannotWrite(document.path, failed.isEmpty() ? file.errorString() : failed);
}

// Puts the new file in place; the earlier one of that name is only set aside.
QString commit(PendingDocument &document)
{
    if (existsAsEntry(document.path)) {
        removeEntry(document.previous);
        if (const QString failed =
                documentFileOperations().rename(document.path, document.previous);
            !failed.isEmpty())
            return "the earlier file cannot be set aside (" + failed + ")";
        document.setAside = true;
    }
    if (const QString failed = documentFileOperations().rename(document.partial, document.path);
        !failed.isEmpty())
        return failed;
    document.committed = true;
    return {};
}

// Takes the download back: the folder holds what it held before.
void rollBack(std::vector<PendingDocument> &documents)
{
    for (auto it = documents.rbegin(); it != documents.rend(); ++it) {
        if (it->committed)
            removeEntry(it->path);
        if (it->setAside)
            renameEntry(it->previous, it->path);
        removeEntry(it->partial);
    }
}

// Writes every document in full, then puts them in place together; a failure anywhere leaves
// the folder as it was.
void storeTogether(const QString &folder, const std::vector<std::pair<kstring, kstring>> &named)
{
    std::vector<PendingDocument> documents;
    for (const auto &[name, text] : named) {
        const QString path = QDir(folder).filePath(toQString(name));
        const std::size_t index = documents.size();
        documents.push_back(
            {path, besideName(path, index, ".part"), besideName(path, index, ".previous")});
    }
    try {
        for (std::size_t i = 0; i < documents.size(); ++i)
            writePartial(documents[i], withCrLfLines(named[i].second));
        for (PendingDocument &document : documents)
            if (const QString failed = commit(document); !failed.isEmpty())
                cannotWrite(document.path, failed);
    } catch (...) {
        rollBack(documents);
        throw;
    }
    for (const PendingDocument &document : documents)
        if (document.setAside)
            removeEntry(document.previous);
}

} // namespace

DocumentFileOperations &documentFileOperations()
{
    static DocumentFileOperations operations{writeAll, renameEntry};
    return operations;
}

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
    storeTogether(folder, {{documentName(session, text), text}});
}

bool downloadTeamData(Troot &session, const QString &folder, kstring *warning)
{
    bool stored = false;
    reportingErrors(
        [&] {
            // Name and file name of each document, and the players document read, before
            // anything is stored: a download that cannot be taken in whole stores nothing.
            std::vector<std::pair<kstring, kstring>> named;
            kstring playersName;
            kstring playersText;
            for (const kstring &path : servicePaths::teamDocuments()) {
                const kstring text = session.fetch(path);
                // A team without details answers with nothing; that document is left out.
                if (text.empty() && path == servicePaths::teamDetails())
                    continue;
                named.emplace_back(documentName(session, text), text);
                if (path == servicePaths::players()) {
                    playersName = named.back().first;
                    playersText = text;
                }
            }
            PlayersDocument squad = readPlayersDocument(playersText);
            storeTogether(folder, named);
            const int unreadable = squad.unreadableValues;
            takeInPlayersDocument(session, std::move(squad));
            if (warning)
                *warning = unreadableValuesNotice(unreadable, playersName);
            stored = true;
        },
        [&](const std::string &reason) {
            session.ui().downloadError(reason.empty() ? kstring("An unknown error occurred.")
                                                      : kstring(reason));
        });
    return stored;
}
