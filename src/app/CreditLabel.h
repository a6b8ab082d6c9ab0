#pragma once

#include <QLabel>
#include <QUrl>

// The author credit: an underlined name that opens the author's page in the
// desktop's browser.
class CreditLabel : public QLabel
{
    Q_OBJECT

public:
    CreditLabel(const QString &name, const QUrl &page, QWidget *parent = nullptr);

    QUrl Page() const { return m_page; }
    // Opens the page in the desktop's browser, as a click does.
    void Open();

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QUrl m_page;
};
