#include "FormFillLib.BrowserProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace Lockwyn {

namespace {

const QString ProfilesFolder = QStringLiteral("Browser Profiles");
constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

bool MakePrivateFolder(const QString& path)
{
    return QDir().mkpath(path) && QFile::setPermissions(path, OwnerOnly);
}

// Sets the value at a dotted path ("profile.password_manager_enabled").
void SetPreference(QJsonObject& preferences, const QString& path, const QJsonValue& value)
{
    const qsizetype dot = path.indexOf(u'.');
    if (dot < 0) {
        preferences.insert(path, value);
        return;
    }
    const QString key = path.left(dot);
    QJsonObject child = preferences.value(key).toObject();
    SetPreference(child, path.mid(dot + 1), value);
    preferences.insert(key, child);
}

bool WritePreferences(const QString& fileName)
{
    QFile current(fileName);
    QJsonObject preferences;
    if (current.open(QIODevice::ReadOnly))
        preferences = QJsonDocument::fromJson(current.readAll()).object();
    current.close();
    for (const char* path :
         {"credentials_enable_service", "credentials_enable_autosignin",
          "profile.password_manager_enabled", "profile.password_manager_leak_detection",
          "autofill.enabled", "autofill.profile_enabled", "autofill.credit_card_enabled"})
        SetPreference(preferences, QLatin1String(path), false);
    // A browser ended by force would otherwise offer to restore its pages.
    SetPreference(preferences, QStringLiteral("profile.exit_type"), QStringLiteral("Normal"));
    SetPreference(preferences, QStringLiteral("profile.exited_cleanly"), true);
    QSaveFile file(fileName);
    const QByteArray bytes = QJsonDocument(preferences).toJson(QJsonDocument::Compact);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

QString BrowserProfileFolder(const QString& dataFolder, const QString& browserKey)
{
    return dataFolder + u'/' + ProfilesFolder + u'/' + browserKey;
}

bool PrepareBrowserProfile(const QString& profileFolder, QString* error)
{
    ForgetBrowserSessions(profileFolder);
    if (MakePrivateFolder(QFileInfo(profileFolder).absolutePath()) &&
        MakePrivateFolder(profileFolder) &&
        MakePrivateFolder(profileFolder + QStringLiteral("/Default")) &&
        WritePreferences(profileFolder + QStringLiteral("/Default/Preferences")))
        return true;
    if (error)
        *error = QStringLiteral("cannot prepare the browser profile in %1").arg(profileFolder);
    return false;
}

void ForgetBrowserSessions(const QString& profileFolder)
{
    QDir profile(profileFolder + QStringLiteral("/Default"));
    QDir(profile.filePath(QStringLiteral("Sessions"))).removeRecursively();
    for (const char* file : {"Current Session", "Current Tabs", "Last Session", "Last Tabs"})
        profile.remove(QLatin1String(file));
}

} // namespace Lockwyn
