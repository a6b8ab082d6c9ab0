#include "cli/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Picaroon"));
    return CommandLine::Run(QCoreApplication::arguments());
}
