// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The procedure names the "Application Error" report prints ("... in <procedure>at line
// <n>"). They are part of the report's text, which users send to support, so they keep the
// names support knows, byte for byte; each is written here once.

#include <QString>

namespace procedures {

// Main window
inline const QString startUp = QStringLiteral("in Festoria2021/08/31.Form1.Form_Load ");
inline const QString clearFields = QStringLiteral("in Festoria2021/08/31.Form1.PushButton2_Click ");
inline const QString loadSample = QStringLiteral("in Festoria2021/08/31.Form1.PushButton3_Click ");
inline const QString undoDetails = QStringLiteral("in Festoria2021/08/31.Form1.mnuUndo_Click ");
inline const QString createInvitation =
    QStringLiteral("in Festoria2021/08/31.Form1.PushButton6_Click ");
inline const QString writePreviewPicture =
    QStringLiteral("in Festoria2021/08/31.Form1.SaveDocAsJPG ");

// Preview window (zooming in and out, starting and moving a drag and closing the window run
// nothing that can fail, so they have no report)
inline const QString preparePreview = QStringLiteral("in Festoria2021/08/31.Form2.Form_Load ");
inline const QString showNewPicture = QStringLiteral("in Festoria2021/08/31.Form2.Form_Activate ");
inline const QString saveAs = QStringLiteral("in Festoria2021/08/31.Form2.PushButton6_Click ");
inline const QString back = QStringLiteral("in Festoria2021/08/31.Form2.PushButton8_Click ");
inline const QString print = QStringLiteral("in Festoria2021/08/31.Form2.mnuPrint_Click ");
inline const QString sendByEmail = QStringLiteral("in Festoria2021/08/31.Form2.mnuEmail_Click ");
inline const QString copyPicture = QStringLiteral("in Festoria2021/08/31.Form2.mnuCopy_Click ");
inline const QString drawAtZoom = QStringLiteral("in Festoria2021/08/31.Form2.RedrawImage ");
inline const QString endDrag = QStringLiteral("in Festoria2021/08/31.Form2.Picture1_MouseUp ");

} // namespace procedures
