#include "settingstore.h"

#include "system.h"

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    return System::readSetting(application, section, key).value_or(defaultValue);
}

bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    return System::writeSetting(application, section, key, value);
}
