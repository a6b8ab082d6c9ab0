#pragma once

#include <QByteArray>
#include <QString>

// The service, its pages and the text files all speak Windows-1251: one byte
// per character. Our own table, so that no platform codec can substitute
// "similar" letters behind our back.
namespace Cp1251 {

// The code of one UTF-16 unit, or '?' when the code page lacks it.
char FromUnicode(QChar ch);
QByteArray FromUnicode(QStringView text);
QChar ToUnicode(char byte);
QString ToUnicode(QByteArrayView bytes);

}
