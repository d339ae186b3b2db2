#pragma once

#include <QByteArray>

// The invitation template built into the program, loaded anew as one byte array.
QByteArray loadTemplateResource();
