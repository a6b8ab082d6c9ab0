#pragma once

#include <QString>

// Asks for the password on the terminal: "Пароль: " on standard error, the
// typing not shown. The terminal is left as it was found, also when the
// member interrupts or the program is ended while it waits.
namespace PasswordPrompt {

bool InputIsTerminal();
// The line typed, without its line break. False with *error when the
// terminal could not be set or read, or closed before a line was typed.
bool Ask(QString *password, QString *error);

}
