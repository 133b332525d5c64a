#include "services/SharedState.h"

#include "services/Database.h"
#include "services/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QSysInfo>

namespace invorator {

SharedState::SharedState(QString programFolder) : m_programFolder(std::move(programFolder))
{
    AppVersion = QStringLiteral(INVORATOR_VERSION);
    AppTitle = QStringLiteral("Tarvo Invorator ") + AppVersion;
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
    m_connectionName = UniqueConnectionName(QStringLiteral("texts"));
    const DbResult result = OpenDatabase(m_connectionName, TextsDbPath);
    TextsDbOpen = result.ok;
    m_textsDbError = result.message;
    if (!result)
        m_connectionName.clear();
    return TextsDbOpen;
}

void SharedState::CloseTextsDb()
{
    if (!m_connectionName.isEmpty())
        CloseDatabase(m_connectionName);
    m_connectionName.clear();
    TextsDbOpen = false;
}

QSqlDatabase SharedState::textsDb() const
{
    if (m_connectionName.isEmpty())
        return {};
    return QSqlDatabase::database(m_connectionName, false);
}

void SharedState::readSettings()
{
    const QString section = QStringLiteral("Settings");
    FontName = SettingsStore::Read(AppTitle, section, QStringLiteral("Font"), QStringLiteral("Verdana"));
    FontSize = SettingsStore::Read(AppTitle, section, QStringLiteral("FontSize"), QStringLiteral("8"));
    LanguageCode = SettingsStore::Read(AppTitle, section, QStringLiteral("Language"), QStringLiteral("DE"));
    NumberFormat = SettingsStore::Read(AppTitle, section, QStringLiteral("Format"), QStringLiteral("0.00"));
    bool ok = false;
    const int index =
        SettingsStore::Read(AppTitle, section, QStringLiteral("FilterIndex"), QStringLiteral("1")).toInt(&ok);
    // Anything but a byte falls back to the first kind.
    FilterIndex = ok && index >= 0 && index <= 255 ? index : 1;
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
