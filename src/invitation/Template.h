#pragma once

#include <QByteArray>
#include <QString>

// The invitation template built into the program, loaded anew as one byte array.
QByteArray loadTemplateResource();

// Writes every byte to the file at path, from its start, with nothing added. Throws
// AppError when the file cannot be written.
void WriteBytesToFile(const QByteArray& bytes, const QString& path);
