#pragma once

#include <QString>

namespace invorator {

// The per-user settings, addressed by application name, section and key; every value is text.
class SettingsStore
{
public:
    static QString Read(const QString &application, const QString &section, const QString &key,
                        const QString &defaultValue);
    static void Write(const QString &application, const QString &section, const QString &key,
                      const QString &text);
};

} // namespace invorator
