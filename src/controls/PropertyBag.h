#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

// The stored properties of one control, key to value, kept in the order
// written. Keys match without regard to letter case. Values are text, whole
// numbers, Booleans, bytes (pictures) or nested bags, so that one document
// can hold every control of a window.
class PropertyBag
{
public:
    // An absent key yields defaultValue.
    QVariant ReadProperty(const QString &key, const QVariant &defaultValue = QVariant()) const;
    // A value equal to defaultValue is left out (and any earlier value of
    // the key dropped). Whole numbers and Booleans compare by number, so
    // true equals 1.
    void WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue = QVariant());

    bool Contains(const QString &key) const { return IndexOf(key) >= 0; }
    QStringList Keys() const;
    qsizetype Count() const { return m_entries.size(); }

    // JSON: an array of {"key": name, KIND: value}, KIND one of "text",
    // "int", "bool", "bytes" (base64) or "bag" (a nested array).
    QByteArray Save() const;
    // On failure the bag is left as it was and error names the trouble.
    bool Load(const QByteArray &json, QString *error = nullptr);

    static bool SameValue(const QVariant &a, const QVariant &b);

private:
    qsizetype IndexOf(const QString &key) const;

    QList<QPair<QString, QVariant>> m_entries;
};

Q_DECLARE_METATYPE(PropertyBag)
