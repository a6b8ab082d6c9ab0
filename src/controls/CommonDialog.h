#pragma once

#include <QString>
#include <QWidget>

// The picker the window carries: a folder dialog and an open-file dialog,
// each modal to the caller's window, each giving the chosen path or the
// empty text. The widget itself only shows its icon, at a fixed size.
class CommonDialog : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Side = 36;

    explicit CommonDialog(QWidget *parent = nullptr);

    // Where the folder dialog opens; empty: wherever the dialog likes.
    void SetStartFolder(const QString &folder) { m_startFolder = folder; }
    QString StartFolder() const { return m_startFolder; }

    // Virtual so that a test can stand in for the modal dialogs alone.
    virtual QString OpenFolder(const QString &Title, QWidget *OwnerWindow);
    // Filter: description and pattern pairs, each ended by a NUL, the list
    // by one more NUL ("JPEG\0*.jpg\0\0").
    virtual QString OpenFile(const QString &Title, const QString &Filter, QWidget *OwnerWindow);

    // Native separators; a root keeps its trailing separator, nothing else
    // has one; nothing from the first NUL on.
    static QString ChosenPath(const QString &path);
    static QString QtFilter(const QString &Filter);

    QSize sizeHint() const override { return QSize(Side, Side); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_startFolder;
};
