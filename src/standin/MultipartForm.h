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

    // Nothing unless the body is framed by the boundary from start to its
    // closing delimiter.
    static std::optional<MultipartForm> Parse(QByteArrayView body, QByteArrayView boundary);
    // The boundary parameter of a Content-Type header; empty when it is not
    // multipart/form-data.
    static QByteArray BoundaryOf(QByteArrayView contentType);

    const Part *Find(QByteArrayView name) const;

private:
    static std::optional<Part> ParsePart(QByteArrayView part);

    QList<Part> m_parts;
};
