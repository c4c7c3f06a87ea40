#pragma once
// The per-user settings: the page size preset (application "Morvane", section "nkr", key
// "size", "a" to "g"; a missing entry reads "0"), the home page's address, and whether the
// canvas window redraws by itself when a drawn file changes (on unless turned off).

#include <QString>

#include <memory>

class QSettings;

namespace nikra {

class SettingsStore {
public:
    SettingsStore();  // the user's own store
    explicit SettingsStore(const QString &iniFile);  // a file of its own (tests)
    ~SettingsStore();

    QString sizeLetter() const;
    void setSizeLetter(const QString &letter);
    QString homePage() const;  // empty: none set
    bool autoRefresh() const;
    void setAutoRefresh(bool on);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace nikra
