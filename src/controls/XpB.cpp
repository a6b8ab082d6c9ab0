#include "controls/XpB.h"

#include "controls/XpBAccessible.h"
#include "controls/XpBInput.h"
#include "controls/XpBInputArgs.h"
#include "controls/XpBLayout.h"
#include "controls/XpBRenderer.h"
#include "controls/XpBStorage.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

#include <algorithm>

namespace {

// 150 twips at 15 twips per pixel.
constexpr int MinimumSide = 10;

void AnnounceName(XpB *button)
{
    QAccessibleEvent event(button, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}

XpB::XpB(QWidget *parent)
    : QWidget(parent)
{
    static const bool describedToAssistiveTechnology = [] {
        QAccessible::installFactory(&XpBAccessible::Create);
        return true;
    }();
    Q_UNUSED(describedToAssistiveTechnology);
    setFocusPolicy(Qt::StrongFocus);
    // Entries are seen in plain movements, exits in movements and leaves.
    setMouseTracking(true);
}

XpB::~XpB() = default;

void XpB::SetCaption(const QString &New_Caption)
{
    m_state.Caption = New_Caption;
    UpdateAccessKey();
    AnnounceName(this);
    Refresh();
}

void XpB::SetButtonStyle(qint32 New_ButtonStyle)
{
    m_state.ButtonStyle = New_ButtonStyle;
    Refresh();
}

void XpB::SetPicturePosition(qint32 New_PicturePosition)
{
    m_state.PicturePosition = New_PicturePosition;
    Refresh();
}

void XpB::SetPicture(const PictureRef &New_Picture)
{
    m_state.Picture = New_Picture;
    if (New_Picture) {
        m_state.PictureWidth = HimetricToPixels(New_Picture->HimetricSize().width(), logicalDpiX());
        m_state.PictureHeight = HimetricToPixels(New_Picture->HimetricSize().height(), logicalDpiY());
    }
    Refresh();
}

void XpB::SetShowFocusRect(bool New_ShowFocusRect)
{
    m_state.ShowFocusRect = New_ShowFocusRect;
    Refresh();
}

void XpB::SetEnabledCtrl(bool New_Enabled)
{
    setEnabled(New_Enabled);
    m_spaceWentDown = false;
    m_state.HasFocus = 0;
    m_state.IsPressed = 0;
    m_state.IsHover = 0;
    Refresh();
}

void XpB::SetMaskColor(quint32 New_MaskColor)
{
    m_state.MaskColor = New_MaskColor;
    Refresh();
}

void XpB::SetUseMaskColor(bool New_V)
{
    m_state.UseMaskColor = New_V ? -1 : 0;
    Refresh();
}

void XpB::Refresh()
{
    Render();
    update();
}

void XpB::Render()
{
    XpBRenderer(m_state, palette(), font(), EnabledCtrl()).Refresh(m_face, devicePixelRatioF());
}

void XpB::Press()
{
    if (isEnabled())
        emit Click();
}

void XpB::ApplySize()
{
    if (width() < MinimumSide || height() < MinimumSide)
        resize(std::max(width(), MinimumSide), std::max(height(), MinimumSide));
    // Read after enlarging, so the face is drawn at the size it now has.
    m_state.W = width();
    m_state.H = height();
    m_state.FocusRect = {4, 4, m_state.W - 4, m_state.H - 4};
    Refresh();
}

// When the first "&" is doubled only the next "&" can still mark the key;
// later pairs are never looked at.
void XpB::UpdateAccessKey()
{
    const QString &caption = m_state.Caption;
    const qsizetype length = caption.size();
    QString key;
    const qsizetype p = caption.indexOf(QLatin1Char('&'));
    if (length > 1 && p >= 0 && p + 1 < length) {
        if (caption.at(p + 1) != QLatin1Char('&')) {
            key = caption.at(p + 1).toLower();
        } else {
            const qsizetype q = caption.indexOf(QLatin1Char('&'), p + 2);
            if (q >= 0 && q + 1 < length && caption.at(q + 1) != QLatin1Char('&'))
                key = caption.at(q + 1).toLower();
        }
    }
    m_accessKey = key;
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    if (!key.isEmpty()) {
        const auto qtKey = Qt::Key(key.at(0).toUpper().unicode());
        m_shortcutId = grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, qtKey)));
    }
}

void XpB::ReadProperties(const PropertyBag &bag)
{
    XpBStorage::Read(*this, bag);
    UpdateAccessKey();
    AnnounceName(this);
    ApplySize();
}

void XpB::WriteProperties(PropertyBag &bag) const
{
    XpBStorage::Write(*this, bag);
}

int XpB::HimetricToPixels(int himetric, qreal dpi)
{
    return XpBLayout::RoundHalfEven(himetric * dpi / 2540.0);
}

bool XpB::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent *>(event)->shortcutId() == m_shortcutId) {
        XpBInput(*this).AccessKeyPressed();
        return true;
    }
    return QWidget::event(event);
}

// The window may have moved to a screen of another density since the last
// repaint.
void XpB::paintEvent(QPaintEvent *)
{
    if (m_face.devicePixelRatio() != devicePixelRatioF())
        Render();
    QPainter(this).drawImage(0, 0, m_face);
}

void XpB::resizeEvent(QResizeEvent *)
{
    ApplySize();
}

void XpB::showEvent(QShowEvent *)
{
    ApplySize();
}

void XpB::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        Refresh();
    QWidget::changeEvent(event);
}

void XpB::focusInEvent(QFocusEvent *event)
{
    XpBInput(*this).FocusEntered(event->reason());
}

void XpB::focusOutEvent(QFocusEvent *)
{
    XpBInput(*this).FocusLeft();
}

void XpB::keyPressEvent(QKeyEvent *event)
{
    XpBInput(*this).KeyDown(XpBInputArgs::KeyCodeOf(*event), XpBInputArgs::ShiftOf(event->modifiers()),
                            event->isAutoRepeat());
}

// Held keys repeat as presses only; a repeated Space release would
// otherwise click once per repeat.
void XpB::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return;
    XpBInput(*this).KeyUp(XpBInputArgs::KeyCodeOf(*event), XpBInputArgs::ShiftOf(event->modifiers()));
}

void XpB::mousePressEvent(QMouseEvent *event)
{
    const short button = XpBInputArgs::ButtonOf(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    XpBInput(*this).MouseDown(button, XpBInputArgs::ShiftOf(event->modifiers()), float(event->position().x()),
                              float(event->position().y()));
}

void XpB::mouseMoveEvent(QMouseEvent *event)
{
    XpBInput(*this).MouseMove(XpBInputArgs::ButtonsOf(event->buttons()), XpBInputArgs::ShiftOf(event->modifiers()),
                              float(event->position().x()), float(event->position().y()));
}

void XpB::mouseReleaseEvent(QMouseEvent *event)
{
    const short button = XpBInputArgs::ButtonOf(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    XpBInput(*this).MouseUp(button, XpBInputArgs::ShiftOf(event->modifiers()), float(event->position().x()),
                            float(event->position().y()));
}

void XpB::leaveEvent(QEvent *)
{
    XpBInput(*this).PointerLeft(XpBInputArgs::ShiftOf(QGuiApplication::keyboardModifiers()));
}
