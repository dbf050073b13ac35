#pragma once

#include <QString>

// The per-user settings store: string values addressed by application, section and key, kept
// as they are given. On Linux they live in ~/.config/<application>/<section>.conf, on Windows
// in the registry, as values of type REG_SZ that hold exactly the string.
// A store that cannot be read gives the default; one that cannot be written is left as it
// is: neither ever stops the program.
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue);

// Returns false when the value could not be stored.
bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);
