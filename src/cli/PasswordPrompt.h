#pragma once

#include <QString>

// The password from standard input. On a terminal it is asked for:
// "Пароль: " on standard error, the typing not shown, and the terminal is
// left as it was found, also when the member interrupts or the program is
// ended while it waits. Otherwise it is the input's first line.
namespace PasswordPrompt {

// The line without its line break: ExitStatus::Success, else the status
// with *error (a line longer than 64 KiB is wrong usage).
int Read(QString *password, QString *error);

}
