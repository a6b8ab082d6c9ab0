#pragma once

#include "settings/SettingKey.h"

#include <QDialog>
#include <QPalette>
#include <QList>

class ProgramSettings;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The settings a member may need to change, so that nobody has to edit the
// file: the two hosts, the account number and the timeout. Each text is
// checked as it is typed and what is wrong is said in the dialog; Save
// stays refused until every text checks. An empty field means the build's
// value.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(ProgramSettings &settings, QWidget *parent = nullptr);

    // The field of one of the checked keys.
    QLineEdit *Field(SettingKey key) const;
    // The first start: the one field without which nothing can be sent,
    // focused, with what to type in it.
    void AskForUploadHost();
    QLabel *ProblemLabel() const { return m_problem; }
    QPushButton *SaveButton() const { return m_save; }
    QCheckBox *KeepLocation() const { return m_keepLocation; }

    // Stores and saves; stays open, saying why, when a text does not check
    // or the file cannot be written.
    void accept() override;

private:
    struct Row
    {
        SettingKey key;
        QString name;
        QLineEdit *field;
        // Under the field, its own problem or note; its room is kept empty
        // so the dialog never changes height while the member types.
        QLabel *mark;
    };

    // Marks every field that does not check; the first of them, or none.
    QLineEdit *ShowProblem();
    void ReducePastedAddress(const Row &row);

    ProgramSettings &m_settings;
    QList<Row> m_rows;
    QPalette m_problemColours;
    QLabel *m_problem = nullptr;
    QPushButton *m_save = nullptr;
    QCheckBox *m_keepLocation = nullptr;
};
