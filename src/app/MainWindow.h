// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/StoredDetails.h"
#include "core/Clipboard.h"
#include "invitation/CreateInvitation.h"

#include <QDateTime>
#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class Picker;
class PreviewWindow;
class Prompts;
class SettingsStore;
class SkinComponent;
class UndoNote;
class WindowPointer;
namespace office {
class Office;
}

// The main window: the event details, the two data buttons and "Start Creating Template".
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // endAtOnce ends the office and the program at once, without any window's closing
    // handling (start-up calls it when no office can be started). programFolder holds the
    // hand pointer and the skin. endProgram is what closing either window does in the end
    // (without one: leave the event loop); clipboard is the one the request hands its
    // picture over (without one: the system's).
    MainWindow(Prompts& prompts, office::Office& office, SettingsStore& settings,
               std::function<void()> endAtOnce, QString programFolder,
               std::function<void()> endProgram = {}, std::unique_ptr<Clipboard> clipboard = {});
    ~MainWindow() override;

    // The start-up sequence, run once before the window is first shown: the look, the hand
    // pointer, the stored event details, and the office check (which ends the program when
    // no office can be started).
    void startUp();

    void clearFields();      // "Clear/Reset Data"
    void loadSample();       // "Load Sample/Example Data"
    void createInvitation(); // "Start Creating Template"
    // Puts back (and stores again) the texts the last Clear/Reset or Sample replaced, until
    // the next change of a field (Ctrl+Z, or Undo on the note shown after the click).
    void undoDetails();
    bool undoAvailable() const;

    // The preview window, loaded on first use (its load step runs then).
    PreviewWindow& previewWindow();
    bool previewWindowLoaded() const { return mPreviewWindow != nullptr; }

    WindowPointer& pointer() { return *mPointer; }

    QPushButton* createButton;
    QPushButton* clearButton;
    QPushButton* sampleButton;
    QGroupBox* detailsFrame; // "Event details": the seven fields and their labels
    Picker* datePicker;
    Picker* timePicker;
    QLineEdit* eventNameField;
    QLineEdit* locationField;
    QLineEdit* itemsField; // "What To Bring:"
    QLineEdit* directionsField;
    QLineEdit* rsvpField;
    QList<QLabel*> fieldLabels; // in the order of the fields, date first
    // The skin component; tests may replace it before startUp.
    std::unique_ptr<SkinComponent> skin;

    // Both pickers start here, before their stored values are restored.
    static QDateTime initialPickerValue() {
        return QDateTime(QDate(2010, 1, 17), QTime(0, 0), Qt::UTC);
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* addButton(const QString& name, const QString& caption, QRect geometry);
    void buildFields();
    void placeField(QWidget* field, const QString& caption, int top);
    void setKeyboardOrder();
    void setPointerRule();
    void wireStorage();
    void setTextFields(const QString& procedure, const QStringList& texts);
    QStringList textFields() const;
    void offerUndo(const QStringList& before, const QString& note);

    Prompts& mPrompts;
    office::Office& mOffice;
    StoredDetails mStored;
    std::function<void()> mEndAtOnce;
    QString mProgramFolder;
    WindowPointer* mPointer;
    class Host;
    std::unique_ptr<Host> mHost;
    std::function<void()> mEndProgram;
    std::unique_ptr<Clipboard> mClipboard;
    std::unique_ptr<CreateInvitation> mRequest;
    std::unique_ptr<PreviewWindow> mPreviewWindow;
    bool mRestoring = false;
    bool mCentred = false;
    UndoNote* mUndo = nullptr;
};
