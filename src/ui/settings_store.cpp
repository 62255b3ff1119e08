#include "ui/settings_store.h"

#include "qt_text/qt_text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString key(const std::string &text)
{
    return toQString(text);
}

// Whether the file, when there is one, can be opened for reading at all.
bool unreadable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    if (!info.isFile())
        return true;
    QFile file(path);
    return !file.open(QIODevice::ReadOnly);
}

} // namespace

IniSettingsStore::IniSettingsStore(const QString &path) : path_(path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (unreadable(path))
        setAside("could not be read");
    settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError) {
        settings.reset();
        setAside("could not be parsed");
        settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
    readAll();
}

void IniSettingsStore::readAll()
{
    for (const QString &name : settings->allKeys()) {
        const QVariant value = settings->value(name);
        // A list or a number written by hand is no text of ours.
        if (value.typeId() == QMetaType::QString)
            texts[toKstring(name)] = toKstring(value.toString());
    }
}

QString IniSettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/StrikoraKey/StrikoraKey.ini";
}

// Kept for the user to look at, never overwritten: a second bad file on the same day gets a
// number.
void IniSettingsStore::setAside(const QString &why)
{
    const QString stem = path_ + ".bad-" + QDate::currentDate().toString(Qt::ISODate);
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = stem + "-" + QString::number(n);
    const QString where = QDir::toNativeSeparators(path_);
    if (QFile::rename(path_, aside))
        problem_ =
            QString("The settings file %1 %2; it was renamed to %3 and the defaults are used.")
                .arg(where, why, QDir::toNativeSeparators(aside));
    else {
        frozen = true;
        problem_ =
            QString("The settings file %1 %2 and could not be renamed; the defaults are used "
                    "and nothing is saved.")
                .arg(where, why);
    }
}

std::optional<std::string> IniSettingsStore::text(const std::string &name) const
{
    const auto found = texts.find(name);
    if (found == texts.end())
        return std::nullopt;
    return found->second;
}

void IniSettingsStore::setText(const std::string &name, const std::string &value)
{
    if (frozen)
        return;
    // Unchanged entries are not written again: a save touches only what changed.
    const auto [kept, added] = texts.try_emplace(name, value);
    if (!added && kept->second == value)
        return;
    kept->second = value;
    settings->setValue(key(name), toQString(value));
}

void IniSettingsStore::remove(const std::string &name)
{
    const std::string below = name + "/";
    std::erase_if(texts, [&](const auto &entry) {
        return entry.first == name || entry.first.starts_with(below);
    });
    settings->remove(key(name));
}

std::vector<std::string> IniSettingsStore::children(const std::string &group) const
{
    const std::string below = group + "/";
    std::vector<std::string> result;
    for (auto it = texts.lower_bound(below); it != texts.end() && it->first.starts_with(below);
         ++it) {
        const std::string rest = it->first.substr(below.size());
        const std::string child = rest.substr(0, rest.find('/'));
        if (result.empty() || result.back() != child)
            result.push_back(child);
    }
    return result;
}

void IniSettingsStore::flush()
{
    if (!frozen)
        settings->sync();
}
