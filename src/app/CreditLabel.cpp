#include "app/CreditLabel.h"

#include "app/CreditLabelAccessible.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QMouseEvent>

CreditLabel::CreditLabel(const QString &name, const QUrl &page, QWidget *parent)
    : QLabel(name, parent)
    , m_page(page)
{
    static const bool described = [] {
        QAccessible::installFactory(&CreditLabelAccessible::Create);
        return true;
    }();
    Q_UNUSED(described);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    setPalette(palette);
    QFont font = this->font();
    font.setUnderline(true);
    setFont(font);
    setToolTip(page.toString());
    const bool dense = devicePixelRatioF() > 1.0;
    QPixmap hand(dense ? QStringLiteral(":/pictures/hand@2x.png") : QStringLiteral(":/pictures/hand.png"));
    hand.setDevicePixelRatio(dense ? 2.0 : 1.0);
    // The hot spot is the fingertip, at either density.
    setCursor(QCursor(hand, 5, 0));
}

void CreditLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    Open();
}

void CreditLabel::Open()
{
    emit Clicked();
    // Whether the desktop could open it is not the window's business.
    QDesktopServices::openUrl(m_page);
}
