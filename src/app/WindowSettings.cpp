#include "app/WindowSettings.h"

#include "app/MessageDialog.h"
#include "app/SettingsDialog.h"
#include "app/WindowImport.h"
#include "folder/ImageFolder.h"
#include "folder/NativeName.h"
#include "settings/HostAddress.h"
#include "settings/ProgramSettings.h"
#include "upload/RunScheduler.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

WindowSettings::WindowSettings(Main &window, ProgramSettings &settings, const Main::Options &options)
    : QObject(&window)
    , m_window(window)
    , m_settings(settings)
    , m_options(options)
    , m_openFolder(&QDesktopServices::openUrl)
{
    m_settingsAction = new QAction(tr("Settings…"), &window);
    m_settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_settingsAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_settingsAction, &QAction::triggered, this, &WindowSettings::OpenDialog);
    window.addAction(m_settingsAction);

    QListView *list = window.Files();
    if (list->contextMenuPolicy() == Qt::DefaultContextMenu)
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
    list->addAction(m_settingsAction);
    list->setToolTip(NativeName::Displayable(QDir::toNativeSeparators(ImageFolder())));
    list->viewport()->installEventFilter(this);
    window.installEventFilter(this);

    if (window.Text1()->text().isEmpty())
        window.Text1()->setText(settings.LastLogin());
    window.Imports().SetLastFolder(settings.LastImportFolder());
    // Losing it costs the member one more walk through the folders, not a
    // picture: a notice, not an error.
    connect(&window.Imports(), &WindowImport::FolderChosen, this, [this](const QString &folder) {
        m_settings.SetLastImportFolder(folder);
        Remember(false);
    });
    connect(&window.Run(), &RunScheduler::RunStarted, this, [this] {
        const QString login = m_window.Text1()->text();
        if (login.isEmpty() || login == m_settings.LastLogin())
            return;
        m_settings.SetLastLogin(login);
        Remember(false);
    });
}

Main::Options WindowSettings::FromSettings(const ProgramSettings &settings, Main::Options options)
{
    QString problem;
    HostAddress::Parse(settings.UploadHost(), true, &options.upload, &problem);
    options.imageHost = settings.ImageHost();
    options.account = settings.Account();
    options.timeout = settings.Timeout();
    options.retryFor = settings.Value(SettingKey::RetryFor).toInt();
    options.connections = settings.Value(SettingKey::Connections).toInt();
    options.pictures = {settings.KeepLocation(), settings.Value(SettingKey::MaxSide).toInt(),
                        settings.Value(SettingKey::Quality).toInt()};
    return options;
}

bool WindowSettings::RestorePosition()
{
    const std::optional<QPoint> position = m_settings.WindowPosition();
    if (!position)
        return false;
    // A screen unplugged since must not leave the window, its title bar
    // above all, out of reach.
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool seen = std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen *screen) {
        return screen->availableGeometry().contains(*position);
    });
    if (seen)
        m_window.move(*position);
    return seen;
}

void WindowSettings::ShowStartupNotices(const QStringList &problems)
{
    MessageDialog &messages = m_window.Messages();
    if (ProgramSettings::IsPlaceholderHost(m_options.upload.Host()))
        OpenDialog()->AskForUploadHost();
    for (const QString &problem : problems + m_settings.Problems())
        messages.ShowNotice(&m_window, problem);
}

SettingsDialog *WindowSettings::OpenDialog()
{
    auto *dialog = new SettingsDialog(m_settings, &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // What the dialog saved is what the member wants from now on, over
    // the command line's choices for this run.
    connect(dialog, &QDialog::accepted, this, [this] {
        m_options = FromSettings(m_settings, m_options);
        m_window.SetServiceOptions(m_options);
    });
    dialog->open();
    return dialog;
}

QString WindowSettings::ImageFolder() const
{
    return ImageFolder::PathIn(m_options.home);
}

void WindowSettings::OpenImageFolder()
{
    if (!m_openFolder(QUrl::fromLocalFile(ImageFolder())))
        m_window.Messages().ShowNotice(
            &m_window,
            tr("Cannot open the folder %1 in the file manager").arg(QDir::toNativeSeparators(ImageFolder())));
}

bool WindowSettings::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: the filter also sees the events of the window's own
    // destruction, when nothing of it may be called any more.
    if (event->type() == QEvent::Close && watched == &m_window) {
        m_settings.SetWindowPosition(m_window.pos());
        Remember(true);
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_window.Files()->viewport()) {
        const auto *click = static_cast<QMouseEvent *>(event);
        if (click->button() == Qt::LeftButton && !m_window.Files()->indexAt(click->position().toPoint()).isValid()) {
            OpenImageFolder();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowSettings::Remember(bool closing)
{
    QString error;
    if (m_settings.Save(&error))
        return;
    // A box that does not block would vanish with the closing window.
    if (closing)
        m_window.Messages().ShowError(&m_window, error);
    else
        m_window.Messages().ShowNotice(&m_window, error);
}
