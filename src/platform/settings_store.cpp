#include "platform/settings_store.h"

#include <QSettings>

namespace nikra {

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Morvane"), QStringLiteral("Morvane")))
{
}

SettingsStore::SettingsStore(const QString &iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::sizeLetter() const
{
    return settings_->value(QStringLiteral("nkr/size"), QStringLiteral("0")).toString();
}

void SettingsStore::setSizeLetter(const QString &letter)
{
    settings_->setValue(QStringLiteral("nkr/size"), letter);
    settings_->sync();
}

QString SettingsStore::homePage() const { return settings_->value(QStringLiteral("nkr/homepage")).toString(); }

bool SettingsStore::autoRefresh() const { return settings_->value(QStringLiteral("nkr/autorefresh"), true).toBool(); }

void SettingsStore::setAutoRefresh(bool on)
{
    settings_->setValue(QStringLiteral("nkr/autorefresh"), on);
    settings_->sync();
}

} // namespace nikra
