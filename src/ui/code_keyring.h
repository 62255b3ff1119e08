#pragma once

#include <QString>

#include <optional>

// Where a security code the user asked to remember is kept: the desktop's secret store, never a
// file. Tests put a fake in its place.
class CodeKeyring
{
public:
    virtual ~CodeKeyring() = default;
    // Empty when codes can be kept; otherwise why not, in the user's words.
    virtual QString unavailableReason() = 0;
    virtual std::optional<QString> read(const QString &userName) = 0;
    // False when the store refused it.
    virtual bool write(const QString &userName, const QString &code) = 0;
    virtual void remove(const QString &userName) = 0;
};

// The desktop's secret service through QtKeychain; each call waits for its answer while the
// window goes on handling events.
class SystemKeyring : public CodeKeyring
{
public:
    QString unavailableReason() override;
    std::optional<QString> read(const QString &userName) override;
    bool write(const QString &userName, const QString &code) override;
    void remove(const QString &userName) override;

private:
    std::optional<QString> reason;
};
