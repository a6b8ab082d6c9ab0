#pragma once

#include "app/Main.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>

class ProgramSettings;
class QAction;
class SettingsDialog;

// Ties the window to the member's settings: it opens where it was left,
// with the last login typed; the settings dialog is at hand (Ctrl+, and
// the list's context menu); the list shows the image folder's path as its
// tooltip and opens the folder on a double click in its empty part.
class WindowSettings : public QObject
{
    Q_OBJECT

public:
    // options: what the window was made with, the run's overrides included.
    WindowSettings(Main &window, ProgramSettings &settings, const Main::Options &options);

    // The hosts, account and timeout the settings hold, on top of options.
    static Main::Options FromSettings(const ProgramSettings &settings, Main::Options options);

    // Moves the window where it was left; false when that place is on no
    // screen now, or none was kept.
    bool RestorePosition();
    // The settings, open at the upload host, while none is set; and
    // whatever else could not be read or made at start-up.
    void ShowStartupNotices(const QStringList &problems);
    QAction *SettingsAction() const { return m_settingsAction; }
    // Window-modal, without an event loop of its own.
    SettingsDialog *OpenDialog();
    // Tests stand in for the desktop's file manager.
    void SetFolderOpener(std::function<bool(const QUrl &)> opener) { m_openFolder = std::move(opener); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString ImageFolder() const;
    void OpenImageFolder();
    void Remember(bool closing);

    Main &m_window;
    ProgramSettings &m_settings;
    Main::Options m_options;
    QAction *m_settingsAction = nullptr;
    std::function<bool(const QUrl &)> m_openFolder;
};
