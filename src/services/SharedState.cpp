#include "services/SharedState.h"

#include "services/Database.h"
#include "services/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace invorator {

SharedState::SharedState(QString programFolder)
    : m_programFolder(std::move(programFolder)), m_texts(QStringLiteral("texts"))
{
    AppVersion = QStringLiteral(INVORATOR_VERSION);
    AppTitle = QStringLiteral("Tarvo Invorator ") + AppVersion;
    // The login name of the user running the program, whatever the environment says.
    if (const passwd *user = getpwuid(getuid()); user && user->pw_name)
        UserName = QString::fromLocal8Bit(user->pw_name);
    else
        UserName = qEnvironmentVariable("USER");
    ComputerName = QSysInfo::machineHostName();
}

SharedState::~SharedState()
{
    CloseTextsDb();
}

bool SharedState::OpenTextsDb()
{
    CloseTextsDb();
    if (TextsDbPath.isEmpty())
        TextsDbPath = m_programFolder + QStringLiteral("/DB/Daten.mdb");
    const DbResult result = m_texts.open(DbConfig::sqliteFile(TextsDbPath));
    TextsDbOpen = result.ok;
    m_textsDbError = result.message;
    return TextsDbOpen;
}

void SharedState::CloseTextsDb()
{
    m_texts.close();
    TextsDbOpen = false;
}

QSqlDatabase SharedState::textsDb() const
{
    return m_texts.connection();
}

namespace {
const QString section = QStringLiteral("Settings");
}

void SharedState::readSettings()
{
    const auto read = [this](const char *key, const QString &fallback) {
        return SettingsStore::Read(AppTitle, section, QString::fromLatin1(key), fallback);
    };
    FontName = read("Font", QStringLiteral("Verdana"));
    FontSize = read("FontSize", QStringLiteral("8"));
    LanguageCode = read("Language", QStringLiteral("DE"));
    if (!CommandLineLanguage.isEmpty())
        LanguageCode = CommandLineLanguage.toUpper();
    NumberFormat = read("Format", QStringLiteral("0.00"));
    bool ok = false;
    const int index = read("FilterIndex", QStringLiteral("1")).toInt(&ok);
    // Anything but a byte falls back to the first kind.
    FilterIndex = ok && index >= 0 && index <= 255 ? index : 1;
    const QString documents = DocumentsFolder();
    LastInvoicePath = read("LW", UserTempFolder());
    ExportFolder = read("Folder", documents);
    SupportAttachment = read("LWSupport", documents);
    ArchiveSetting = read("Archive", QString());
}

void SharedState::writePreferences() const
{
    SettingsStore::Write(AppTitle, section, QStringLiteral("Language"), LanguageCode);
    SettingsStore::Write(AppTitle, section, QStringLiteral("Font"), FontName);
    SettingsStore::Write(AppTitle, section, QStringLiteral("FontSize"), FontSize);
    SettingsStore::Write(AppTitle, section, QStringLiteral("Format"), NumberFormat);
}

void SharedState::writeOnClose(int filterIndex) const
{
    writePreferences();
    SettingsStore::Write(AppTitle, section, QStringLiteral("LW"), LastInvoicePath);
    SettingsStore::Write(AppTitle, section, QStringLiteral("Folder"), ExportFolder);
    SettingsStore::Write(AppTitle, section, QStringLiteral("FilterIndex"), QString::number(filterIndex));
}

QString DocumentsFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}

QString UserTempFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.cache");
    const QString folder = base + QStringLiteral("/tarvo-invorator/tmp");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

} // namespace invorator
