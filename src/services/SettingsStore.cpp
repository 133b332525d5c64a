#include "services/SettingsStore.h"

#include <QSettings>

namespace invorator {

QString SettingsStore::Read(const QString &application, const QString &section, const QString &key,
                            const QString &defaultValue)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarvo"), application);
    return s.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void SettingsStore::Write(const QString &application, const QString &section, const QString &key,
                          const QString &text)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarvo"), application);
    s.setValue(section + QLatin1Char('/') + key, text);
}

} // namespace invorator
