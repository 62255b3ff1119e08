#include "ui/code_keyring.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace {

const QString service = QStringLiteral("StrikoraKey");

// Runs the job to its end and hands back its error.
QKeychain::Error finish(QKeychain::Job &job)
{
    job.setAutoDelete(false);
    QEventLoop wait;
    QObject::connect(&job, &QKeychain::Job::finished, &wait, &QEventLoop::quit);
    job.start();
    wait.exec();
    return job.error();
}

} // namespace

QString SystemKeyring::unavailableReason()
{
    if (reason)
        return *reason;
    // A look-up of a name never stored: "not found" means the store is there.
    QKeychain::ReadPasswordJob probe(service);
    probe.setKey(QStringLiteral("availability check"));
    const QKeychain::Error error = finish(probe);
    const bool there = error == QKeychain::NoError || error == QKeychain::EntryNotFound;
    reason = there ? QString()
                   : "No secret service (keyring) is running on this desktop, so the code cannot "
                     "be remembered (" +
                         probe.errorString() + ").";
    return *reason;
}

std::optional<QString> SystemKeyring::read(const QString &userName)
{
    if (!unavailableReason().isEmpty())
        return std::nullopt;
    QKeychain::ReadPasswordJob job(service);
    job.setKey(userName);
    if (finish(job) != QKeychain::NoError || job.textData().isEmpty())
        return std::nullopt;
    return job.textData();
}

bool SystemKeyring::write(const QString &userName, const QString &code)
{
    if (!unavailableReason().isEmpty())
        return false;
    QKeychain::WritePasswordJob job(service);
    job.setKey(userName);
    job.setTextData(code);
    return finish(job) == QKeychain::NoError;
}

void SystemKeyring::remove(const QString &userName)
{
    if (!unavailableReason().isEmpty())
        return;
    QKeychain::DeletePasswordJob job(service);
    job.setKey(userName);
    finish(job);
}
