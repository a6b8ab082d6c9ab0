#include "SmallFilesystem.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>

SmallFilesystem::SmallFilesystem(qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("picaroon-test", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0)
        m_mounted = true;
    else
        m_why = QStringLiteral("cannot mount a small tmpfs to fill (%1); run the tests as root to include this case")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

SmallFilesystem::~SmallFilesystem()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}
