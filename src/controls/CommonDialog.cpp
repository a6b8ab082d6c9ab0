#include "controls/CommonDialog.h"

#include "controls/FolderPictureModel.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QStringList>

CommonDialog::CommonDialog(QWidget *parent)
    : QWidget(parent)
{
    // Whatever size a container gives it, it keeps that of its icon.
    setFixedSize(Side, Side);
    setFocusPolicy(Qt::NoFocus);
}

QString CommonDialog::OpenFolder(const QString &Title, QWidget *OwnerWindow)
{
    // Qt's own dialog, not the desktop's: only it lets the pictures show.
    QFileDialog dialog(OwnerWindow, Title, m_startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new FolderPictureModel(&dialog));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return ChosenPath(dialog.selectedFiles().first());
}

QString CommonDialog::OpenFile(const QString &Title, const QString &Filter, QWidget *OwnerWindow)
{
    return ChosenPath(QFileDialog::getOpenFileName(OwnerWindow, Title, QDir::currentPath(), QtFilter(Filter)));
}

QString CommonDialog::ChosenPath(const QString &path)
{
    const QString text = path.left(path.indexOf(QChar(0)));
    if (text.isEmpty())
        return QString();
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(text)));
}

QString CommonDialog::QtFilter(const QString &Filter)
{
    // Already in the dialog's own form, or no filter at all.
    if (!Filter.contains(QChar(0)))
        return Filter;
    const QStringList parts = Filter.split(QChar(0));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts.at(i).isEmpty(); i += 2) {
        const QString patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        if (!patterns.isEmpty())
            filters.append(parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

void CommonDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(120, 90, 20));
    painter.setBrush(QColor(240, 200, 80));
    painter.drawRect(QRectF(2.5, 6.5, 10, 4));
    painter.drawRect(QRectF(2.5, 9.5, 24, 17));
    painter.setPen(QPen(QColor(40, 40, 40), 3));
    painter.drawLine(QPointF(22, 22), QPointF(29, 29));
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.setBrush(QColor(200, 230, 255, 200));
    painter.drawEllipse(QPointF(18, 18), 6, 6);
}
