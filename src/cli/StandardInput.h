#pragma once

#include <QByteArray>
#include <QString>

// Standard input read with a bound: endless input (a device, a program
// that never stops writing) is refused once past it instead of filling
// memory.
namespace StandardInput {

enum class Result { Read, Ended, TooLong, Failed };

// Up to the first line break, left out with a CR before it; read a byte at
// a time, so that nothing after the line is taken from a terminal. Ended:
// the input ended before its first byte. Failed: *error holds the cause.
Result Line(qsizetype longest, QByteArray *line, QString *error);
// Up to the input's end.
Result All(qsizetype longest, QByteArray *bytes, QString *error);

}
