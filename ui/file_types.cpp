#include "ui/file_types.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <ostream>

#include "foundation/safe_file.h"

namespace tessera::ui {
namespace {

// Marks a desktop entry as written here, so that removing never deletes one the user wrote.
constexpr char kMarker[] = "X-Tessera-Registered=true";
constexpr int kToolTimeout = 30000;  // milliseconds

struct CInstalledFile {
    const char* resource;
    const char* path;  // in the user's data folder
};
constexpr CInstalledFile kEntry{":/desktop/tessera.desktop", "applications/tessera.desktop"};
constexpr CInstalledFile kTypes{":/desktop/tessera-mime.xml", "mime/packages/tessera.xml"};
constexpr CInstalledFile kIcon{":/desktop/tessera.svg", "icons/hicolor/scalable/apps/tessera.svg"};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program as the first word of an Exec key: quoted when it holds a character the key reserves,
// percent signs doubled, then escaped as a desktop entry string.
QString ExecProgram(const QString& program) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString word = program;
    if (std::any_of(word.begin(), word.end(), [](QChar c) { return reserved.contains(c); })) {
        QString quoted;
        for (QChar c : word) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
            quoted += c;
        }
        word = u'"' + quoted + u'"';
    }
    word.replace(u'%', QStringLiteral("%%"));
    word.replace(u'\\', QStringLiteral("\\\\"));
    return word;
}

// The packaged desktop entry, starting this very program.
QByteArray DesktopEntry() {
    QStringList lines = QString::fromUtf8(ReadAll(QLatin1String(kEntry.resource))).split(u'\n');
    for (QString& line : lines)
        if (line.startsWith(QLatin1String("Exec=")))
            line = QStringLiteral("Exec=") + ExecProgram(QCoreApplication::applicationFilePath()) +
                   QStringLiteral(" %f");
    while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    lines << QLatin1String(kMarker) << QString();
    return lines.join(u'\n').toUtf8();
}

bool Fail(QString* problem, const QString& text) {
    if (problem) *problem = text;
    return false;
}

bool Write(const QString& path, const QByteArray& content, QString* problem) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return Fail(problem, QStringLiteral("Cannot create the folder of ") + path);
    try {
        WriteFileSafely(QFile::encodeName(path).toStdString(),
                        [&](std::ostream& out) { out.write(content.constData(), content.size()); });
    } catch (const CFileException& error) {
        return Fail(problem, QString::fromLocal8Bit(error.what()));
    }
    return true;
}

bool Remove(const QString& path, bool ours, QString* problem) {
    if (!QFile::exists(path) || !ours) return true;
    QFile file(path);
    if (!file.remove())
        return Fail(problem,
                    QStringLiteral("Cannot remove ") + path + QStringLiteral(": ") + file.errorString());
    return true;
}

// Refreshes one of the desktop's databases when its tool is installed and its folder exists.
bool Refresh(const char* tool, const QString& folder, QString* problem) {
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (program.isEmpty() || !QDir(folder).exists()) return true;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {folder});
    if (!process.waitForFinished(kToolTimeout) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        return Fail(problem, QLatin1String(tool) + QStringLiteral(" failed on ") + folder +
                                 QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()).trimmed());
    }
    return true;
}

}  // namespace

QString UserDataFolder() {
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.isEmpty() && QDir::isAbsolutePath(data)) return QDir::cleanPath(data);
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() ? QString() : QDir(home).filePath(QStringLiteral(".local/share"));
}

bool RegisterFileTypes(bool install, QString* problem) {
    const QDir folder(UserDataFolder());
    if (folder.path().isEmpty() || folder.path() == QLatin1String("."))
        return Fail(problem, QStringLiteral("There is no data folder for the user (HOME is not set)."));
    const QString entry = folder.filePath(QLatin1String(kEntry.path));
    const QString types = folder.filePath(QLatin1String(kTypes.path));
    const QString icon = folder.filePath(QLatin1String(kIcon.path));
    bool done = true;
    if (install) {
        done = Write(entry, DesktopEntry(), problem) &&
               Write(types, ReadAll(QLatin1String(kTypes.resource)), problem) &&
               Write(icon, ReadAll(QLatin1String(kIcon.resource)), problem);
    } else {
        // Only what this program wrote: the marked entry, and the types and icon as it writes them.
        done = Remove(entry, ReadAll(entry).contains(kMarker), problem) &&
               Remove(types, ReadAll(types) == ReadAll(QLatin1String(kTypes.resource)), problem) &&
               Remove(icon, ReadAll(icon) == ReadAll(QLatin1String(kIcon.resource)), problem);
    }
    // The databases follow whatever was changed, even when something failed on the way.
    const bool mime =
        Refresh("update-mime-database", folder.filePath(QStringLiteral("mime")), done ? problem : nullptr);
    const bool desktop = Refresh("update-desktop-database", folder.filePath(QStringLiteral("applications")),
                                 done && mime ? problem : nullptr);
    return done && mime && desktop;
}

}  // namespace tessera::ui
