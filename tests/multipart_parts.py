#!/usr/bin/env python3
"""Parses one HTTP request from standard input with a standard multipart
form parser, the kind web services run, and prints each field's name, file
name and the SHA-256 and length of its bytes, one field a line."""
import hashlib
import io
import sys

from werkzeug.formparser import parse_form_data


def main():
    request = sys.stdin.buffer.read()
    head, _, body = request.partition(b"\r\n\r\n")
    headers = {}
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        headers[name.strip().lower()] = value.strip().decode("latin-1")
    environ = {
        "REQUEST_METHOD": "POST",
        "CONTENT_TYPE": headers.get(b"content-type", ""),
        "CONTENT_LENGTH": headers.get(b"content-length", ""),
        "wsgi.input": io.BytesIO(body),
    }
    _, form, files = parse_form_data(environ)
    for name, value in form.items(multi=True):
        data = value.encode("latin-1")
        print(name, "-", hashlib.sha256(data).hexdigest(), len(data))
    for name, stored in files.items(multi=True):
        data = stored.read()
        print(name, stored.filename, hashlib.sha256(data).hexdigest(), len(data))


if __name__ == "__main__":
    main()
