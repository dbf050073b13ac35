#include "settingstore.h"

#include <QSettings>

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, section);
    if (settings.status() != QSettings::NoError) {
        return defaultValue;
    }
    const QVariant value = settings.value(key);
    if (!value.isValid() || !value.canConvert<QString>()) {
        return defaultValue;
    }
    return value.toString();
}

bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, section);
    if (settings.status() != QSettings::NoError) {
        return false;
    }
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
