#pragma once

#include <QSettings>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What is remembered between runs, as texts under slash-separated keys ("grids/frameLive1").
// Readers check every value themselves: a text that is not what they expect is ignored for that
// entry alone.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> text(const std::string &key) const = 0;
    virtual void setText(const std::string &key, const std::string &value) = 0;
    // Removes the key and every key below it.
    virtual void remove(const std::string &key) = 0;
    // The names directly below `group`, keys and groups alike, each once.
    virtual std::vector<std::string> children(const std::string &group) const = 0;
    // Writes what changed to lasting storage.
    virtual void flush() = 0;
};

// The store in an INI file. A file that cannot be read or parsed is renamed aside with the date
// in its name and the defaults are used; `problem` then says so with both paths.
class IniSettingsStore : public SettingsStore
{
public:
    explicit IniSettingsStore(const QString &path);

    // The platform's place for it: StrikoraKey/StrikoraKey.ini in the user's configuration folder.
    static QString defaultPath();

    std::optional<std::string> text(const std::string &key) const override;
    void setText(const std::string &key, const std::string &value) override;
    void remove(const std::string &key) override;
    std::vector<std::string> children(const std::string &group) const override;
    void flush() override;

    const QString &path() const { return path_; }
    // Why the defaults are used, or empty.
    const QString &problem() const { return problem_; }

private:
    void setAside(const QString &why);
    void readAll();

    QString path_;
    QString problem_;
    // Every text of the file, read once: start-up reads many entries.
    std::map<std::string, std::string> texts;
    // A bad file that could not be set aside is left as it is: nothing is written over it.
    bool frozen = false;
    std::unique_ptr<QSettings> settings;
};
