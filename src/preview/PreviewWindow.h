// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Clipboard.h"
#include "core/EventDetails.h"
#include "preview/ZoomModel.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class PictureBox;
class SharpPage;
class Prompts;
class QGroupBox;
class QPushButton;
class QScrollBar;
class WindowPointer;
namespace office {
class Office;
}

// The preview window: the rendered invitation in a fixed viewport with zoom, drag and
// scroll bars, "Save Results To Word File" and "< Back", and a context menu on the picture
// to save, print, send by email and copy it. While shown it owns the temporary invitation
// document: Back and Close delete it, and closing the window ends the program.
class PreviewWindow : public QWidget, private ZoomSurface {
    Q_OBJECT
public:
    // mainWindow is shown again by "< Back"; programFolder holds the hand pointer; the office
    // makes the other formats and the printed page.
    // endProgram ends the program once the window has been closed (without one: leave the
    // event loop); clipboard is the one "Copy Picture" puts the picture on (without one: the
    // system's).
    PreviewWindow(Prompts& prompts, office::Office& office, QWidget* mainWindow,
                  QString programFolder, std::function<void()> endProgram = {},
                  std::unique_ptr<Clipboard> clipboard = {});
    ~PreviewWindow() override;

    // The invitation's picture. A new picture is set up afresh the next time the window
    // becomes active, so showing the window again for a new invitation zooms the new picture.
    void setPicture(const QImage& picture);
    // The picture last handed to the window.
    QImage picture() const { return mPicture; }

    // What the invitation says, for screen readers (the page's accessible description).
    void setInvitationText(const QString& text);

    // The full path of the temporary invitation document the window shows.
    void setDocumentPath(const QString& path);
    const QString& documentPath() const { return mDocumentPath; }
    // The details the document was made from: the calendar event, and the subject and the
    // attachments' names when it is sent by email.
    void setEventDetails(const EventDetails& details) { mDetails = details; }
    const EventDetails& eventDetails() const { return mDetails; }

    // The window's handlers, as its buttons, menu, keys and events run them.
    void zoomIn();
    void zoomOut();
    void saveAs();
    void print();
    void sendByEmail();
    void copyPicture();
    void back();
    // Sets a new picture up (the unscaled copy, 100 %, the scroll bars) when the window
    // becomes active; nothing while none is waiting.
    void showNewPicture();
    // Deletes the document as the window closes.
    void discardDocument();

    ZoomModel& zoomModel() { return *mModel; }
    WindowPointer& pointer() { return *mPointer; }
    bool newPicturePending() const { return mNewPicturePending; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void preparePreview();
    void buildControls();
    void buildPageFrame();
    void buildButtons();
    void buildUnscaledPage();
    void wireControls();
    void addShortcuts();
    void setAccessibleNames();
    void setHourglass(bool on);
    void setTabOrder();
    void setPointerHovers();
    // Mouse on the page, in the page's own coordinates (twips).
    QPointF pointerOnPage(const QMouseEvent* event) const;

    // ZoomSurface
    void dropPagePicture() override;
    void drawScaled(int sourceWidth, int sourceHeight, int width, int height) override;
    void resetPointer() override;
    void pageMoved() override;
    void scrollBarsChanged() override;

    Prompts& mPrompts;
    office::Office& mOffice;
    QWidget* mMainWindow;
    QString mProgramFolder;
    std::function<void()> mEndProgram;
    std::unique_ptr<Clipboard> mClipboard;
    QString mDocumentPath;
    EventDetails mDetails;
    bool mNewPicturePending = true;
    bool mInSetup = false;
    bool mCentred = false;
    int mWheelDelta = 0; // what the wheel turned short of a whole notch
    QImage mPicture;

    PictureBox* mPageFrame = nullptr; // the viewport's border; it clips the page
    QWidget* mViewport = nullptr;     // the frame's inside, where the page lives
    PictureBox* mPage = nullptr;      // the picture as shown, possibly zoomed
    QScrollBar* mVerticalScroll = nullptr;
    QScrollBar* mHorizontalScroll = nullptr;
    QGroupBox* mZoomBox = nullptr;
    QPushButton* mZoomInButton = nullptr;
    QPushButton* mZoomOutButton = nullptr;
    QPushButton* mBackButton = nullptr;
    QPushButton* mSaveButton = nullptr;
    PictureBox* mUnscaledPage = nullptr; // hidden: the picture every zoom is drawn from
    SharpPage* mSharpPage = nullptr;     // draws the page sharper when a zoom needs it

    WindowPointer* mPointer = nullptr;
    std::unique_ptr<ZoomModel> mModel;
};
