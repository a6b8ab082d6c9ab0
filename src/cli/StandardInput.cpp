#include "cli/StandardInput.h"

#include "folder/PlainFile.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace {

// How much read() took, retried when a signal cut in; -1 with *error on failure.
ssize_t ReadSome(char *buffer, size_t size, QString *error)
{
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, size);
        if (got >= 0 || errno != EINTR) {
            if (got < 0)
                *error = PlainFile::SystemError(errno);
            return got;
        }
    }
}

}

namespace StandardInput {

Result Line(qsizetype longest, QByteArray *line, QString *error)
{
    line->clear();
    for (;;) {
        char byte;
        const ssize_t got = ReadSome(&byte, 1, error);
        if (got < 0)
            return Result::Failed;
        if (got == 0 && line->isEmpty())
            return Result::Ended;
        if (got == 0 || byte == '\n')
            break;
        if (line->size() == longest)
            return Result::TooLong;
        line->append(byte);
    }
    if (line->endsWith('\r'))
        line->chop(1);
    return Result::Read;
}

Result All(qsizetype longest, QByteArray *bytes, QString *error)
{
    bytes->clear();
    constexpr qsizetype Block = 256 * 1024;
    for (;;) {
        const qsizetype had = bytes->size();
        bytes->resize(had + Block);
        const ssize_t got = ReadSome(bytes->data() + had, size_t(Block), error);
        bytes->resize(had + std::max<qsizetype>(got, 0));
        if (got < 0)
            return Result::Failed;
        if (got == 0)
            return bytes->isEmpty() ? Result::Ended : Result::Read;
        if (bytes->size() > longest)
            return Result::TooLong;
    }
}

}
