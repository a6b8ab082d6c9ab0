#pragma once

#include <QFont>
#include <QLabel>

// The status line across the bottom of the window. Its width is fixed and
// the counts it shows run to five digits, so its font is narrowed and, if
// that is not enough, made smaller until the widest text it must show fits
// in full; a text wider still gets a smaller font of its own rather than
// being cut off.
class StatusLine : public QLabel
{
    Q_OBJECT

public:
    explicit StatusLine(const QString &text, QWidget *parent = nullptr);

    // Sets the line's font to the widest that shows this text in full.
    void FitWidest(const QString &text);
    // The font a text is drawn in.
    QFont FontFor(const QString &text) const;
    qreal TextRoom() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont Fitted(const QFont &from, const QString &text) const;
};
