// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/MainWindow.h"

#include "app/EventFields.h"
#include "app/GeneralDate.h"
#include "app/Picker.h"
#include "app/Settings.h"
#include "app/StoredDetails.h"
#include "app/UndoNote.h"
#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Twips.h"
#include "invitation/CreateInvitation.h"
#include "invitation/InvitationText.h"
#include "invitation/OfficeCheck.h"
#include "invitation/PreviewPicture.h"
#include "preview/PreviewWindow.h"
#include "widgets/Accessible.h"
#include "widgets/ApplicationIcon.h"
#include "widgets/Centre.h"
#include "widgets/OfficeWait.h"
#include "widgets/QtClipboard.h"
#include "widgets/SkinFramework.h"
#include "widgets/Theme.h"
#include "widgets/WindowPointer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>
#include <tuple>

// The main window as the window that runs "Start Creating Template".
class MainWindow::Host : public InvitationHost {
public:
    explicit Host(MainWindow& window) : mWindow(window) {}

    QString fieldText(Field field) override {
        switch (field) {
        case Field::EventName:
            return mWindow.eventNameField->text();
        case Field::Location:
            return mWindow.locationField->text();
        case Field::Items:
            return mWindow.itemsField->text();
        case Field::Drive:
            return mWindow.directionsField->text();
        case Field::RSVP:
            return mWindow.rsvpField->text();
        }
        return QString();
    }
    QDate eventDate() override { return mWindow.datePicker->value().date(); }
    QTime eventTime() override { return mWindow.timePicker->value().time(); }
    void setHourglass(bool on) override {
        mWindow.pointer().setMode(on ? WindowPointer::Hourglass : WindowPointer::Default);
    }
    void loadPreviewPicture(const QString& picturePath) override {
        // Loads the window before the picture arrives.
        PreviewWindow& preview = mWindow.previewWindow();
        // A picture that fails to load leaves the preview empty, never showing the last
        // invitation beside the new document.
        preview.setPicture(QImage());
        preview.setPicture(loadPicture(picturePath));
    }
    void setPreviewDocument(const QString& documentPath, const EventDetails& details) override {
        mWindow.previewWindow().setDocumentPath(documentPath);
        mWindow.previewWindow().setEventDetails(details);
        // The fields take no input during the request: they hold what it filled in.
        mWindow.previewWindow().setInvitationText(invitationText());
    }
    void showPreview() override { mWindow.previewWindow().show(); }
    void hideMainWindow() override { mWindow.hide(); }

private:
    // The invitation's text as it reads: the template's own words and the details filled in.
    QString invitationText() {
        const QDate date = eventDate();
        const QString when = invitation::whenText(
            invitation::dateText(date, invitation::dayText(date)), eventTime());
        return QStringList{QStringLiteral("You\u2019re invited to celebrate\u2026"),
                           invitation::eventText(fieldText(Field::EventName)),
                           QStringLiteral("with us!"),
                           QStringLiteral("When: ") + when.simplified(),
                           QStringLiteral("Where: ") + fieldText(Field::Location),
                           kItemsLabel + fieldText(Field::Items),
                           kDirectionsLabel + fieldText(Field::Drive),
                           kRsvpLabel + fieldText(Field::RSVP)}
            .join(QLatin1Char('\n'));
    }

    MainWindow& mWindow;
};

namespace {
// The steps of the start-up sequence, numbered as the error report prints them. Setting the
// caption, the icon and the application title, and looking for the hand pointer's file,
// cannot fail and are no steps of their own.
enum class StartUpStep {
    ApplySkin = 100,
    LoadHandPointer = 108,
    RestoreDate = 128,
    RestoreTime = 130,
    RestoreEventName = 132,
    RestoreLocation = 134,
    RestoreDirections = 136,
    RestoreRsvp = 138,
    RestoreItems = 140,
    CheckOffice = 142,
};

// "Clear/Reset Data" and "Load Sample/Example Data": one step per text field.
enum class TextFieldStep {
    EventName = 100,
    Location = 102,
    Items = 104,
    Directions = 106,
    Rsvp = 108
};

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

void whiteBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
} // namespace

MainWindow::MainWindow(Prompts& prompts, office::Office& office, SettingsStore& settings,
                       std::function<void()> endAtOnce, QString programFolder,
                       std::function<void()> endProgram, std::unique_ptr<Clipboard> clipboard)
    : QWidget(nullptr), mPrompts(prompts), mOffice(office), mStored(settings, prompts),
      mEndAtOnce(std::move(endAtOnce)), mProgramFolder(std::move(programFolder)),
      mEndProgram(endProgram ? std::move(endProgram) : [] { QCoreApplication::exit(0); }),
      mClipboard(clipboard ? std::move(clipboard) : std::make_unique<QtClipboard>()) {
    skin = std::make_unique<SkinFramework>();
    setObjectName(QStringLiteral("mainWindow"));
    markAccessibleWindow(*this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(8040), px(4755));
    setFont(windowFont());
    whiteBackground(this);

    createButton = addButton(QStringLiteral("createButton"), tr("Start Creating Template"),
                             twipsRect(120, 120, 7800, 405));
    clearButton = addButton(QStringLiteral("clearButton"), tr("Clear/Reset Data"),
                            twipsRect(120, 630, 3840, 405));
    sampleButton = addButton(QStringLiteral("sampleButton"), tr("Load Sample/Example Data"),
                             twipsRect(4080, 630, 3840, 405));
    connect(createButton, &QPushButton::clicked, this, &MainWindow::createInvitation);
    connect(clearButton, &QPushButton::clicked, this, &MainWindow::clearFields);
    connect(sampleButton, &QPushButton::clicked, this, &MainWindow::loadSample);
    buildFields();
    setKeyboardOrder();
    setPointerRule();
    wireStorage();
    mUndo = new UndoNote(this);
    connect(mUndo, &UndoNote::undoWanted, this, &MainWindow::undoDetails);

    mHost = std::make_unique<Host>(*this);
    mRequest = std::make_unique<CreateInvitation>(*mHost, mOffice, mPrompts, *mClipboard);
    // However the program ends, what the request made leaves the temporary folder with it.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            [this] { mRequest->programEnds(); });
}

MainWindow::~MainWindow() = default;

PreviewWindow& MainWindow::previewWindow() {
    if (!mPreviewWindow)
        mPreviewWindow =
            std::make_unique<PreviewWindow>(mPrompts, mOffice, this, mProgramFolder, mEndProgram);
    return *mPreviewWindow;
}

QPushButton* MainWindow::addButton(const QString& name, const QString& caption, QRect geometry) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setFont(buttonFont());
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setAccessibleName(caption);
    return button;
}

void MainWindow::buildFields() {
    detailsFrame = new QGroupBox(tr("Event details"), this);
    detailsFrame->setObjectName(QStringLiteral("detailsFrame"));
    detailsFrame->setGeometry(twipsRect(120, 1110, 7800, 3525));
    whiteBackground(detailsFrame);

    // Each field's object name is the settings key it is stored under.
    auto picker = [this](const QString& key, const QString& format) {
        auto* p = new Picker(format, detailsFrame);
        p->setObjectName(key);
        p->setValue(initialPickerValue());
        return p;
    };
    datePicker = picker(keys::eventDate, QStringLiteral("dd-MMM-yyyy"));
    datePicker->setCalendarPopup(true);
    timePicker = picker(keys::eventTime, generalTimeFormat());
    auto textBox = [this](const QString& key) {
        auto* box = new QLineEdit(detailsFrame);
        box->setObjectName(key);
        box->setMaxLength(std::numeric_limits<int>::max());
        box->installEventFilter(this);
        return box;
    };
    eventNameField = textBox(keys::eventName);
    locationField = textBox(keys::location);
    itemsField = textBox(keys::items);
    directionsField = textBox(keys::directions);
    rsvpField = textBox(keys::rsvp);

    using Field = InvitationHost::Field;
    const auto caption = [](Field field) -> QString {
        return tr("%1:", "a field's label").arg(fieldLabel(field));
    };
    const QStringList captions = {tr("Event Date:"),         tr("Event Time:"),
                                  caption(Field::EventName), caption(Field::Location),
                                  caption(Field::Items),     caption(Field::Drive),
                                  caption(Field::RSVP)};
    const QList<QWidget*> fields = {datePicker, timePicker,      eventNameField, locationField,
                                    itemsField, directionsField, rsvpField};
    for (int i = 0; i < fields.size(); ++i)
        placeField(fields[i], captions[i], 300 + 450 * i);
}

// Puts a field at its row of the frame (top in twips), with its label to the left.
void MainWindow::placeField(QWidget* field, const QString& caption, int top) {
    field->setGeometry(twipsRect(2040, top, 5520, 345));
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::white);
    field->setPalette(palette);
    field->setAccessibleName(caption);

    auto* label = new QLabel(caption, detailsFrame);
    label->setObjectName(QStringLiteral("fieldLabel%1").arg(fieldLabels.size()));
    whiteBackground(label);
    label->move(px(240), px(top + 45));
    label->adjustSize();
    label->setBuddy(field);
    fieldLabels.append(label);
}

void MainWindow::setKeyboardOrder() {
    // The seven fields, then the three buttons.
    QWidget* previous = datePicker;
    for (QWidget* next : std::initializer_list<QWidget*>{timePicker, eventNameField, locationField,
                                                         itemsField, directionsField, rsvpField,
                                                         createButton, clearButton, sampleButton}) {
        setTabOrder(previous, next);
        previous = next;
    }
    datePicker->setFocus();
}

void MainWindow::setPointerRule() {
    mPointer = new WindowPointer(this);
    for (QPushButton* button : {createButton, clearButton, sampleButton})
        mPointer->setHover(button, WindowPointer::Hover::SetsCustom);
    mPointer->setHover(detailsFrame, WindowPointer::Hover::SetsDefault);
    for (QWidget* field :
         std::initializer_list<QWidget*>{datePicker, timePicker, eventNameField, locationField,
                                         itemsField, directionsField, rsvpField})
        mPointer->setHover(field, WindowPointer::Hover::SetsDefault);
    for (QLabel* label : fieldLabels)
        mPointer->setHover(label, WindowPointer::Hover::None);
}

void MainWindow::wireStorage() {
    for (QLineEdit* box : {eventNameField, locationField, itemsField, directionsField, rsvpField}) {
        connect(box, &QLineEdit::textChanged, this,
                [this, key = box->objectName()](const QString& text) {
                    // A change ends the way back; Clear/Reset and Sample offer theirs after
                    // setting the fields, and Undo has taken its texts before.
                    if (mUndo)
                        mUndo->drop();
                    if (!mRestoring)
                        mStored.store({{key, text}});
                });
    }
    for (Picker* picker : {datePicker, timePicker}) {
        connect(picker, &Picker::valueChanged, this,
                [this, key = picker->objectName()](const QDateTime& value) {
                    if (mUndo)
                        mUndo->drop();
                    if (!mRestoring)
                        mStored.storeDate(key, value);
                });
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A text box that receives the focus has all its text selected, so typing replaces it.
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            box->selectAll();
    }
    // Ctrl+Z in a field with nothing of its own to undo undoes Clear/Reset or Sample.
    if (event->type() == QEvent::KeyPress && undoAvailable() &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        if (auto* box = qobject_cast<QLineEdit*>(watched); box && !box->isUndoAvailable()) {
            undoDetails();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::startUp() {
    using Step = StartUpStep;
    StepTrap<Step> trap(mPrompts, procedures::startUp);
    trap(Step::ApplySkin, [&] {
        applySkin(*this, object(skin, QStringLiteral("No skin component")), mProgramFolder);
    });
    setWindowTitle(kProductName);
    setWindowIcon(applicationIcon());
    setApplicationTitle();
    const QString cursorPath = handPointerFile(mProgramFolder);
    if (fileExists(cursorPath))
        trap(Step::LoadHandPointer, [&] { mPointer->setHandCursor(loadCursorFile(cursorPath)); });

    mStored.tellSetAside();
    mRestoring = true;
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    trap(Step::RestoreDate, [&] {
        datePicker->setValue(
            mStored.date(keys::eventDate, QDateTime(now.date(), QTime(0, 0), Qt::UTC)));
    });
    trap(Step::RestoreTime, [&] {
        timePicker->setValue(
            mStored.date(keys::eventTime,
                         QDateTime(now.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC)));
    });
    using Field = InvitationHost::Field;
    const std::tuple<Step, Field, QLineEdit*> texts[] = {
        {Step::RestoreEventName, Field::EventName, eventNameField},
        {Step::RestoreLocation, Field::Location, locationField},
        {Step::RestoreDirections, Field::Drive, directionsField},
        {Step::RestoreRsvp, Field::RSVP, rsvpField},
        {Step::RestoreItems, Field::Items, itemsField}};
    for (const auto& [step, field, box] : texts)
        trap(step, [&] { box->setText(mStored.text(field, box->objectName())); });
    mRestoring = false;

    trap(Step::CheckOffice, [&] { checkOfficeStarts(mOffice, mPrompts, mEndAtOnce); });
}

void MainWindow::setTextFields(const QString& procedure, const QStringList& texts) {
    using Step = TextFieldStep;
    StepTrap<Step> trap(mPrompts, procedure);
    const std::pair<Step, QLineEdit*> fields[] = {{Step::EventName, eventNameField},
                                                  {Step::Location, locationField},
                                                  {Step::Items, itemsField},
                                                  {Step::Directions, directionsField},
                                                  {Step::Rsvp, rsvpField}};
    for (int i = 0; i < int(std::size(fields)); ++i)
        trap(fields[i].first, [&] { fields[i].second->setText(texts.value(i)); });
}

// The five text fields in the order setTextFields takes them.
QStringList MainWindow::textFields() const {
    return {eventNameField->text(), locationField->text(), itemsField->text(),
            directionsField->text(), rsvpField->text()};
}

void MainWindow::clearFields() {
    const QStringList before = textFields();
    setTextFields(procedures::clearFields, QStringList(5, QString()));
    offerUndo(before, tr("Details cleared."));
}

void MainWindow::loadSample() {
    const QStringList before = textFields();
    setTextFields(procedures::loadSample, {sample::eventName, sample::location, sample::items,
                                           sample::directions, sample::rsvp});
    offerUndo(before, tr("Sample details loaded."));
}

void MainWindow::offerUndo(const QStringList& before, const QString& note) {
    if (before != textFields()) // else nothing was lost
        mUndo->offer(before, note, detailsFrame->geometry());
}

bool MainWindow::undoAvailable() const {
    return mUndo && mUndo->available();
}

void MainWindow::undoDetails() {
    if (const auto texts = mUndo->take()) // each field is stored as it changes
        setTextFields(procedures::undoDetails, *texts);
}

void MainWindow::createInvitation() {
    // The fields take no input while the request runs, so the invitation shows what it read.
    const InputBlock block;
    mRequest->run();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once; every field is already stored, and
    // nothing the request made stays in the temporary folder (also when it is running now).
    event->accept();
    mRequest->programEnds();
    mEndProgram();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!mCentred) {
        mCentred = true;
        centreOnScreen(*this);
    }
}
