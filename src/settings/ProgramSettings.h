#pragma once

#include "settings/SettingKey.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;
class QTemporaryDir;

// The member's settings, kept by QSettings in the user's config folder. A
// key missing from the file means the build's value; a stored value that
// does not check is named by Problem() and the build's value stands in for
// it, so that a slip in the file never sends pictures somewhere unintended.
// The password and its digest are never among them.
class ProgramSettings
{
public:
    explicit ProgramSettings(const QString &path = DefaultPath());
    ~ProgramSettings();
    ProgramSettings(const ProgramSettings &) = delete;
    ProgramSettings &operator=(const ProgramSettings &) = delete;

    // picaroon/picaroon.conf in $XDG_CONFIG_HOME, by default ~/.config;
    // empty without a home folder, when the build's values stand and
    // nothing is saved.
    static QString DefaultPath();
    QString Path() const { return m_path; }

    // What a run uses: the stored value when it checks, else the build's.
    QString UploadHost() const;
    QString ImageHost() const;
    QString Account() const;
    int Timeout() const;
    bool KeepLocation() const;
    QString LastLogin() const;
    std::optional<QPoint> WindowPosition() const;
    QString LastImportFolder() const;

    // The section and key in the file, as "section/key".
    static QString Name(SettingKey key);
    // One of the checked texts as a run uses it.
    QString Value(SettingKey key) const;
    // One of the checked texts as the file holds it; empty when it holds none.
    QString Stored(SettingKey key) const;
    // The build's value of one of the checked texts.
    static QString Default(SettingKey key);
    // An empty text removes the key, so that the build's value applies.
    void Store(SettingKey key, const QString &text);
    void SetLastLogin(const QString &login);
    void SetWindowPosition(const QPoint &position);
    void SetLastImportFolder(const QString &folder);

    // Why the file could not be read; empty when it could, or is missing.
    // It is read without waiting, from a plain file only; one that cannot
    // be read, or does not read as settings, is never written over.
    QString ReadProblem() const { return m_readProblem; }
    // What is wrong with the stored text of a checked key; empty when it
    // checks or the file holds none.
    QString Problem(SettingKey key) const;
    // "KEY in PATH: problem", for the read problem and each checked key.
    QStringList Problems() const;
    // Writes the changes through to the file, or to the file a link there
    // points at.
    bool Save(QString *error);

    // Checks of typed texts, in the member's words; empty when fine.
    static QString Check(SettingKey key, const QString &text);

    // The build's upload host is a placeholder in the reserved ".invalid"
    // domain, which never resolves, until a real one is set.
    static bool IsUploadHostSet(const QString &uploadHost);
    static bool IsPlaceholderHost(const QString &host);
    // Where to set the upload host: shown by the window, said by the
    // headless upload, in the same words.
    QString NoUploadHostText() const;

private:
    QString m_path;
    QString m_readProblem;
    std::unique_ptr<QTemporaryDir> m_copy;
    std::unique_ptr<QSettings> m_settings;
};
