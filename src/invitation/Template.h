// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

// The invitation template built into the program, loaded anew as one byte array.
QByteArray loadTemplateResource();

// Where the built-in template's star picture leaves the page clear above the details box,
// in 1/100 mm from the page's top edge, as the template generator measured it
// ("template.layout" beside the template); 0 when it is not known.
int detailsClearTop();
