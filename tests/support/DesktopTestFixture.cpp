#include "DesktopTestFixture.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

TDesktopTestFixture::TDesktopTestFixture()
{
    for (const QString& folder : {DataHome(), ConfigHome(), SystemData(), Programs()})
        QDir().mkpath(folder);
    SetEnvironment("XDG_DATA_HOME", QFile::encodeName(DataHome()));
    SetEnvironment("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
    SetEnvironment("XDG_DATA_DIRS", QFile::encodeName(SystemData()));
    SetEnvironment("XDG_CONFIG_DIRS", QFile::encodeName(Path(QStringLiteral("etc/xdg"))));
    SetEnvironment("XDG_CURRENT_DESKTOP", "");
    SetEnvironment("PATH", QFile::encodeName(Programs()) + ":/usr/bin:/bin");
    SetEnvironment("LC_ALL", "");
    SetEnvironment("LC_MESSAGES", "");
    SetEnvironment("LANG", "C");
}

TDesktopTestFixture::~TDesktopTestFixture()
{
    for (const auto& [name, value] : std::as_const(FSaved))
        qputenv(name, value);
}

void TDesktopTestFixture::SetEnvironment(const char* name, const QByteArray& value)
{
    FSaved << qMakePair(name, qgetenv(name));
    qputenv(name, value);
}

QString TDesktopTestFixture::Path(const QString& relative) const
{
    return FRoot.filePath(relative);
}

QString TDesktopTestFixture::AddProgram(const QString& name)
{
    const QString fileName = Programs() + u'/' + name;
    const QByteArray opened = QFile::encodeName(fileName + QStringLiteral(".opened"));
    WriteWholeFile(fileName, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + opened + "'\n");
    QFile::setPermissions(fileName, QFile::permissions(fileName) | QFile::ExeOwner);
    return fileName;
}

void TDesktopTestFixture::AddEntry(const QString& id, const QByteArray& body, bool user)
{
    const QString folder = (user ? DataHome() : SystemData()) + QStringLiteral("/applications/");
    WriteWholeFile(folder + QString(id).replace(u'-', u'/'), body);
}

void TDesktopTestFixture::AddBrowser(const QString& id, const QString& name, const QString& exec,
                                     const QByteArray& extra, bool user)
{
    AddEntry(id,
             "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nExec=" +
                 exec.toUtf8() + "\nMimeType=text/html;x-scheme-handler/https;\n" + extra,
             user);
}

QString TDesktopTestFixture::AddThemeIcon(const QString& name)
{
    const QString fileName =
        DataHome() + QStringLiteral("/icons/hicolor/32x32/apps/") + name + QStringLiteral(".png");
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    image.save(fileName);
    return fileName;
}

void TDesktopTestFixture::WriteMimeApps(const QByteArray& body)
{
    WriteWholeFile(ConfigHome() + QStringLiteral("/mimeapps.list"), body);
}

QStringList TDesktopTestFixture::OpenedWith(const QString& program) const
{
    return QString::fromUtf8(ReadWholeFile(program + QStringLiteral(".opened")))
        .split(u'\n', Qt::SkipEmptyParts);
}
