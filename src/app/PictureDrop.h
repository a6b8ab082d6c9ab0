#pragma once

#include <QStringList>

class QMimeData;

// What a drop on the window brings to import: folders, whose "*.jpg"
// pictures are copied as "Выбрать каталог" copies them, and single "*.jpg"
// pictures. Anything else dropped with them is left out.
class PictureDrop
{
public:
    explicit PictureDrop(const QMimeData *data);

    bool IsEmpty() const { return m_folders.isEmpty() && m_pictures.isEmpty(); }
    QStringList Folders() const { return m_folders; }
    QStringList Pictures() const { return m_pictures; }
    // Where the picker opens next time: the first folder dropped, else the
    // folder of the first picture.
    QString LastFolder() const;

    static bool IsPictureName(const QString &name);

private:
    QStringList m_folders;
    QStringList m_pictures;
};
