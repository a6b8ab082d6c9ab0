#include "app/SettingsDialog.h"

#include "settings/HostAddress.h"
#include "settings/ProgramSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SettingsDialog::SettingsDialog(ProgramSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setWindowTitle(tr("Settings"));
    auto *form = new QFormLayout;
    const QList<std::pair<SettingKey, QString>> rows = {
        {SettingKey::UploadHost, tr("Upload server")},
        {SettingKey::ImageHost, tr("Picture server")},
        {SettingKey::Account, tr("Account number")},
        {SettingKey::Timeout, tr("Timeout, seconds")},
        {SettingKey::RetryFor, tr("Retry without a network, seconds")},
        {SettingKey::Connections, tr("Pictures sent at once")},
        {SettingKey::MaxSide, tr("Shrink to the longest side, pixels")},
        {SettingKey::Quality, tr("JPEG quality of a shrunk picture")},
    };
    const QStringList hints = {tr("host[:port]"),   tr("host[:port]"), tr("number"),   tr("0: wait without end"),
                               tr("0: no retries"), tr("1 to 8"),      tr("0: never"), tr("1 to 100")};
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto &[key, name] = rows.at(i);
        auto *field = new QLineEdit(settings.Stored(key), this);
        field->setObjectName(ProgramSettings::Name(key));
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);
        const QString builds = ProgramSettings::Default(key);
        const bool placeholder = key == SettingKey::UploadHost && !ProgramSettings::IsUploadHostSet(builds);
        field->setPlaceholderText(placeholder ? tr("not set") : builds);
        field->setToolTip(hints.at(i));
        auto *mark = new QLabel(this);
        mark->setWordWrap(true);
        mark->setFixedHeight(mark->fontMetrics().lineSpacing() * 2);
        mark->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto *cell = new QVBoxLayout;
        cell->setSpacing(0);
        cell->addWidget(field);
        cell->addWidget(mark);
        form->addRow(QStringLiteral("%1 (%2):").arg(name, hints.at(i)), cell);
        m_rows.append({key, name, field, mark});
        connect(field, &QLineEdit::textChanged, this, &SettingsDialog::ShowProblem);
        if (key == SettingKey::UploadHost || key == SettingKey::ImageHost)
            connect(field, &QLineEdit::editingFinished, this, [this, i] { ReducePastedAddress(m_rows.at(i)); });
    }

    m_keepLocation = new QCheckBox(tr("Keep where each photo was taken (GPS) in the pictures sent"), this);
    m_keepLocation->setChecked(settings.KeepLocation());
    m_keepLocation->setToolTip(tr("Off by default: a blog is public, and a photo's location may be a home."));
    form->addRow(m_keepLocation);

    auto *note = new QLabel(
        tr("An empty field takes the default.\nSettings file: %1").arg(QDir::toNativeSeparators(settings.Path())),
        this);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem = new QLabel(this);
    m_problem->setWordWrap(true);
    m_problem->setFixedHeight(m_problem->fontMetrics().lineSpacing() * 2);
    QPalette palette = m_problem->palette();
    palette.setColor(QPalette::WindowText, QColor(176, 0, 0));
    m_problem->setPalette(palette);
    m_problemColours = palette;

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    m_save = buttons->button(QDialogButtonBox::Save);
    m_save->setText(tr("Save"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    ShowProblem();
}

QLineEdit *SettingsDialog::Field(SettingKey key) const
{
    for (const Row &row : m_rows) {
        if (row.key == key)
            return row.field;
    }
    return nullptr;
}

// Every wrong field is marked at once; the line above the buttons names
// the first, where the keyboard goes on a save.
QLineEdit *SettingsDialog::ShowProblem()
{
    QLineEdit *first = nullptr;
    QString named;
    for (const Row &row : std::as_const(m_rows)) {
        const QString text = row.field->text().trimmed();
        const QString problem = text.isEmpty() ? QString() : ProgramSettings::Check(row.key, text);
        row.mark->setPalette(m_problemColours);
        row.mark->setText(problem);
        if (!problem.isEmpty() && !first) {
            first = row.field;
            named = QStringLiteral("%1: %2").arg(row.name, problem);
        }
    }
    m_problem->setText(named);
    m_save->setEnabled(!first);
    return first;
}

void SettingsDialog::ReducePastedAddress(const Row &row)
{
    const QString text = row.field->text().trimmed();
    const QString host = HostAddress::Rewritten(text);
    if (host == text || !ProgramSettings::Check(row.key, host).isEmpty())
        return;
    row.field->setText(host);
    row.mark->setText(tr("Only the server's name was kept from the address “%1”").arg(text));
}

void SettingsDialog::accept()
{
    if (QLineEdit *wrong = ShowProblem()) {
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    for (const Row &row : m_rows)
        m_settings.Store(row.key, row.field->text().trimmed());
    // Left out of the file when off, so that the build's choice stands.
    m_settings.Store(SettingKey::KeepLocation, m_keepLocation->isChecked() ? QStringLiteral("true") : QString());
    QString error;
    if (!m_settings.Save(&error)) {
        m_problem->setText(error);
        return;
    }
    QDialog::accept();
}

void SettingsDialog::AskForUploadHost()
{
    const Row &row = m_rows.first();
    row.field->setFocus();
    row.mark->setPalette(palette());
    row.mark->setText(tr("Type the upload server, for example upload.example.org"));
}
