#pragma once

#include "preview/ZoomModel.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class PictureBox;
class Prompts;
class QGroupBox;
class QMenu;
class QPushButton;
class QScrollBar;
class WindowPointer;
namespace office {
class Office;
}

// The preview window: the rendered invitation in a fixed viewport with zoom, drag and
// scroll bars, "Save Results To Word File" and "< Back", and a context menu on the picture
// to save, print and copy it. While shown it owns the temporary invitation document: Back
// and Close delete it, and closing the window ends the program.
class PreviewWindow : public QWidget, private ZoomSurface {
    Q_OBJECT
public:
    // mainWindow is shown again by "< Back"; programFolder holds the hand pointer; the office
    // makes the other formats and the printed page.
    // endProgram ends the program once the window has been closed (without one: leave the
    // event loop).
    PreviewWindow(Prompts& prompts, office::Office& office, QWidget* mainWindow, QString programFolder,
          std::function<void()> endProgram = {});
    ~PreviewWindow() override;

    // Picture1's picture. A new picture is set up afresh the next time the window becomes
    // active, so showing the window again for a new invitation zooms the new picture.
    void setPicture(const QImage& picture);
    // The picture last handed to the window.
    QImage picture() const { return mPicture; }

    // The full path of the temporary invitation document.
    QString mWordFile;

    // The window's handlers, as the events run them.
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload();
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton6_Click();
    void PushButton8_Click();
    void mnuPrint_Click();
    void mnuCopy_Click();

    ZoomModel& zoomModel() { return *mModel; }
    WindowPointer& pointer() { return *mPointer; }
    bool firstActivatePending() const { return mFirstActivate; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildPictureMenu();
    void setHourglass(bool on);
    void setTabOrder();
    // Mouse on Picture1, in the picture's own coordinates (twips).
    QPointF pointerInPicture(const QMouseEvent* event) const;

    // ZoomSurface
    void removePicture() override;
    void drawZoomed(int sourceWidth, int sourceHeight, int width, int height) override;
    void resetPointer() override;
    void pictureMoved() override;
    void scrollBarsChanged() override;

    Prompts& mPrompts;
    office::Office& mOffice;
    QWidget* mMainWindow;
    QString mProgramFolder;
    std::function<void()> mEndProgram;
    bool mFirstActivate = true;
    bool mInSetup = false;
    bool mCentred = false;
    int mWheelDelta = 0; // what the wheel turned short of a whole notch
    QImage mPicture;

    PictureBox* Picture2 = nullptr;
    QWidget* mViewport = nullptr; // Picture2's inside, where Picture1 lives
    PictureBox* Picture1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton8 = nullptr;
    QPushButton* PushButton6 = nullptr;
    PictureBox* Zoom_Ori = nullptr;
    QMenu* mPictureMenu = nullptr;

    WindowPointer* mPointer = nullptr;
    std::unique_ptr<ZoomModel> mModel;
};
