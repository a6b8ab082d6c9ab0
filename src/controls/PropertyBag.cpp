#include "controls/PropertyBag.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <climits>
#include <cmath>

namespace {

bool IsWholeNumber(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// Doubles carry integers exactly only up to 2^53.
constexpr double LargestExactInteger = 9007199254740992.0;

QJsonArray ToJson(const QList<QPair<QString, QVariant>> &entries)
{
    QJsonArray array;
    for (const auto &[key, value] : entries) {
        QJsonObject entry{{QStringLiteral("key"), key}};
        if (value.metaType().id() == QMetaType::Bool)
            entry.insert(QStringLiteral("bool"), value.toBool());
        else if (IsWholeNumber(value))
            entry.insert(QStringLiteral("int"), value.toLongLong());
        else if (value.metaType().id() == QMetaType::QByteArray)
            entry.insert(QStringLiteral("bytes"), QString::fromLatin1(value.toByteArray().toBase64()));
        else if (value.metaType() == QMetaType::fromType<PropertyBag>())
            entry.insert(QStringLiteral("bag"), QJsonDocument::fromJson(value.value<PropertyBag>().Save()).array());
        else
            entry.insert(QStringLiteral("text"), value.toString());
        array.append(entry);
    }
    return array;
}

bool FromJson(const QJsonArray &array, PropertyBag &bag, QString &error);

bool ValueFromJson(const QJsonObject &entry, QVariant &value, QString &error)
{
    if (entry.size() != 2) {
        error = QStringLiteral("an entry needs a key and exactly one value");
        return false;
    }
    QString kind;
    for (const QString &name : entry.keys()) {
        if (name != QLatin1String("key"))
            kind = name;
    }
    const QJsonValue v = entry.value(kind);
    if (kind == QLatin1String("text") && v.isString()) {
        value = v.toString();
    } else if (kind == QLatin1String("bool") && v.isBool()) {
        value = v.toBool();
    } else if (kind == QLatin1String("int") && v.isDouble()) {
        const double d = v.toDouble();
        if (d != std::floor(d) || std::fabs(d) > LargestExactInteger) {
            error = QStringLiteral("not a whole number in range");
            return false;
        }
        value = static_cast<qlonglong>(d);
    } else if (kind == QLatin1String("bytes") && v.isString()) {
        const auto decoded = QByteArray::fromBase64Encoding(v.toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            error = QStringLiteral("bytes are not base64");
            return false;
        }
        value = *decoded;
    } else if (kind == QLatin1String("bag") && v.isArray()) {
        PropertyBag nested;
        if (!FromJson(v.toArray(), nested, error))
            return false;
        value = QVariant::fromValue(nested);
    } else {
        error = QStringLiteral("unknown value kind \"%1\"").arg(kind);
        return false;
    }
    return true;
}

bool FromJson(const QJsonArray &array, PropertyBag &bag, QString &error)
{
    for (const QJsonValue &item : array) {
        const QJsonObject entry = item.toObject();
        const QString key = entry.value(QStringLiteral("key")).toString();
        if (!item.isObject() || key.isEmpty()) {
            error = QStringLiteral("an entry without a key");
            return false;
        }
        if (bag.Contains(key)) {
            error = QStringLiteral("key \"%1\" given twice").arg(key);
            return false;
        }
        QVariant value;
        if (!ValueFromJson(entry, value, error)) {
            error = QStringLiteral("key \"%1\": %2").arg(key, error);
            return false;
        }
        bag.WriteProperty(key, value);
    }
    return true;
}

}

QVariant PropertyBag::ReadProperty(const QString &key, const QVariant &defaultValue) const
{
    const qsizetype i = IndexOf(key);
    return i < 0 ? defaultValue : m_entries.at(i).second;
}

void PropertyBag::WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    const qsizetype i = IndexOf(key);
    if (defaultValue.isValid() && SameValue(value, defaultValue)) {
        if (i >= 0)
            m_entries.removeAt(i);
    } else if (i >= 0) {
        m_entries[i].second = value;
    } else {
        m_entries.append({key, value});
    }
}

QStringList PropertyBag::Keys() const
{
    QStringList keys;
    for (const auto &entry : m_entries)
        keys.append(entry.first);
    return keys;
}

QByteArray PropertyBag::Save() const
{
    return QJsonDocument(ToJson(m_entries)).toJson(QJsonDocument::Indented);
}

bool PropertyBag::Load(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    QString why;
    PropertyBag loaded;
    if (document.isNull())
        why = parseError.errorString();
    else if (!document.isArray())
        why = QStringLiteral("stored properties must be an array");
    else
        FromJson(document.array(), loaded, why);
    if (!why.isEmpty()) {
        if (error)
            *error = why;
        return false;
    }
    *this = loaded;
    return true;
}

bool PropertyBag::SameValue(const QVariant &a, const QVariant &b)
{
    if (IsWholeNumber(a) && IsWholeNumber(b)) {
        const bool aUnsignedLarge = a.metaType().id() == QMetaType::ULongLong && a.toULongLong() > quint64(LLONG_MAX);
        const bool bUnsignedLarge = b.metaType().id() == QMetaType::ULongLong && b.toULongLong() > quint64(LLONG_MAX);
        if (aUnsignedLarge || bUnsignedLarge)
            return aUnsignedLarge && bUnsignedLarge && a.toULongLong() == b.toULongLong();
        return a.toLongLong() == b.toLongLong();
    }
    if (a.metaType() != b.metaType())
        return false;
    if (a.metaType() == QMetaType::fromType<PropertyBag>())
        return a.value<PropertyBag>().Save() == b.value<PropertyBag>().Save();
    return a == b;
}

qsizetype PropertyBag::IndexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).first.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
