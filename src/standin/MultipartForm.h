#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// The parts of a multipart/form-data body. Part contents are views into the
// body, so the body must outlive the form; a picture is never copied here.
class MultipartForm
{
public:
    struct Part
    {
        QByteArray name;
        std::optional<QByteArray> fileName;
        QByteArrayView content;
    };

    // An upload has two parts with a few short header lines; a body past
    // these is refused before it can cost more than its own size to parse.
    static constexpr qsizetype MaxParts = 16;
    static constexpr qsizetype MaxPartHeadSize = 8 * 1024;
    static constexpr qsizetype MaxBoundarySize = 70;

    // Nothing unless the body holds a delimiter, parts and a closing
    // delimiter by this boundary; a preamble and an epilogue are skipped.
    static std::optional<MultipartForm> Parse(QByteArrayView body, QByteArrayView boundary);
    // The boundary parameter of a Content-Type header, quoted or not; empty
    // when the type is not multipart/form-data or the boundary is not one.
    static QByteArray BoundaryOf(QByteArrayView contentType);
    static bool IsBoundary(QByteArrayView boundary);

    const Part *Find(QByteArrayView name) const;

private:
    static std::optional<Part> ParsePart(QByteArrayView part);

    QList<Part> m_parts;
};
