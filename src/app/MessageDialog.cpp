#include "app/MessageDialog.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

MessageDialog::~MessageDialog()
{
    delete m_notices;
}

void MessageDialog::ShowError(QWidget *owner, const QString &message)
{
    QMessageBox::critical(owner, QStringLiteral("Picaroon"), message);
}

bool MessageDialog::AskToStop(QWidget *owner)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Picaroon"),
                    QCoreApplication::translate("MessageDialog", "An upload is running. Stop it and close the window?"),
                    QMessageBox::NoButton, owner);
    box.setInformativeText(QCoreApplication::translate(
        "MessageDialog", "The picture being sent stays in the image folder and goes with the next run."));
    QPushButton *stop = box.addButton(QCoreApplication::translate("MessageDialog", "Stop and close"),
                                      QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QCoreApplication::translate("MessageDialog", "Keep uploading"),
                                       QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == stop;
}

void MessageDialog::ShowNotice(QWidget *owner, const QString &message)
{
    // A modal box would stop the run's events until answered; one box that
    // gathers every notice until it is closed lets the run go on.
    if (!m_notices || !m_notices->isVisible()) {
        delete m_notices;
        m_noticeLines.clear();
        m_notices = new QMessageBox(QMessageBox::Warning, QStringLiteral("Picaroon"), QString(), QMessageBox::Ok, owner);
        m_notices->setWindowModality(Qt::NonModal);
        m_notices->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_noticeLines.append(message);
    constexpr qsizetype Shown = 5;
    QString text = m_noticeLines.mid(0, Shown).join(QLatin1Char('\n'));
    if (m_noticeLines.size() > Shown) {
        text += QStringLiteral("\n… +%1").arg(m_noticeLines.size() - Shown);
        m_notices->setDetailedText(m_noticeLines.join(QLatin1Char('\n')));
    }
    m_notices->setText(text);
    m_notices->show();
}
