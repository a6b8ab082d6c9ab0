#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QIODevice;

// What is done to a picture before it goes to a public blog, on the bytes
// read from its file; the file itself is never changed. Today: its
// location taken out unless the member keeps it.
class PicturePreparation
{
    Q_DECLARE_TR_FUNCTIONS(PicturePreparation)

public:
    struct Options
    {
        bool keepLocation = false;
        bool operator==(const Options &other) const { return keepLocation == other.keepLocation; }
    };
    enum class Result {
        // Nothing to do: the file is sent as it is, from bytes when they
        // hold all of it (a small picture is read once), else read again
        // from its start.
        AsItIs,
        Prepared,
        // It must not go as it is and cannot be prepared: passed over.
        Unusable,
    };
    struct Outcome
    {
        Result result = Result::AsItIs;
        QByteArray bytes;
        // What was done, for the log and the window: "location removed".
        QString done;
        QString why;
    };

    // As the log keeps it, in English; Shown() gives it in the member's words.
    static constexpr char LocationRemoved[] = QT_TRANSLATE_NOOP("PicturePreparation", "location removed");
    static QString Shown(const QString &done) { return tr(done.toUtf8().constData()); }

    PicturePreparation() = default;
    explicit PicturePreparation(const Options &options)
        : m_options(options)
    {
    }
    const Options &Chosen() const { return m_options; }

    // The picture of size bytes from the start of file; for AsItIs the file
    // is back at its start.
    Outcome Prepare(QIODevice &file, qint64 size) const;

private:
    Options m_options;
};
