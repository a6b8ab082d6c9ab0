#pragma once

#include <QCoreApplication>
#include <QRect>
#include <QString>

class CreditLabel;
class FileList;
class PropertyBag;
class QAction;
class QFocusFrame;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QWidget;
class StatusLine;
class XpB;

// The window's controls where the stored form puts them, each named for
// screen readers and in the keyboard's order. Laid out in twips as the
// form keeps them.
class MainControls
{
    Q_DECLARE_TR_FUNCTIONS(MainControls)

public:
    static constexpr int TwipsPerPixel = 15;
    static QRect Twips(int left, int top, int width, int height);

    MainControls(QWidget &window, FileList &pictures, FileList &setAside);

    QLabel *BG() const { return m_BG; }
    QListView *Files() const { return m_Files; }
    QFocusFrame *FilesFocus() const { return m_filesFocus; }
    QAction *Requeue() const { return m_requeue; }
    XpB *XpB1() const { return m_XpB1; }
    QLineEdit *Text1() const { return m_Text1; }
    QLineEdit *Text2() const { return m_Text2; }
    XpB *Start() const { return m_Start; }
    XpB *StopB() const { return m_StopB; }
    StatusLine *st() const { return m_st; }
    QPushButton *Command1() const { return m_Command1; }
    QPushButton *Command2() const { return m_Command2; }
    CreditLabel *Label4() const { return m_Label4; }

private:
    void BuildList(QWidget &window, FileList &pictures, FileList &setAside);
    void FollowRequeue(const FileList &setAside);
    XpB *MakeButton(QWidget &window, const PropertyBag &form, const QString &name, const QString &picture,
                    const QRect &geometry);

    QLabel *m_BG = nullptr;
    QListView *m_Files = nullptr;
    QFocusFrame *m_filesFocus = nullptr;
    QAction *m_requeue = nullptr;
    XpB *m_XpB1 = nullptr;
    QLineEdit *m_Text1 = nullptr;
    QLineEdit *m_Text2 = nullptr;
    XpB *m_Start = nullptr;
    XpB *m_StopB = nullptr;
    StatusLine *m_st = nullptr;
    QPushButton *m_Command1 = nullptr;
    QPushButton *m_Command2 = nullptr;
    CreditLabel *m_Label4 = nullptr;
};
