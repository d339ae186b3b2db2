#include "app/MainWindow.h"

#include "app/EventFields.h"
#include "app/GeneralDate.h"
#include "app/Picker.h"
#include "app/Settings.h"
#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Product.h"
#include "core/Twips.h"
#include "invitation/CreateInvitation.h"
#include "invitation/IsInstalled.h"
#include "invitation/PreviewPicture.h"
#include "widgets/QtClipboard.h"
#include "preview/PreviewWindow.h"
#include "resources/Resources.h"
#include "widgets/Centre.h"
#include "widgets/SkinFramework.h"
#include "widgets/Theme.h"
#include "widgets/WindowPointer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

// MainWindow as the window that runs "Start Creating Template".
class MainWindow::Host : public InvitationHost {
public:
    explicit Host(MainWindow& form) : f(form) {}

    QString fieldText(Field field) override {
        switch (field) {
        case Field::EventName:
            return f.txtEventName->text();
        case Field::Location:
            return f.txtLocation->text();
        case Field::Items:
            return f.txtItems->text();
        case Field::Drive:
            return f.txtDrive->text();
        case Field::RSVP:
            return f.txtRSVP->text();
        }
        return QString();
    }
    QDate eventDate() override { return f.dtpDate->value().date(); }
    QTime eventTime() override { return f.dtpTime->value().time(); }
    void setHourglass(bool on) override {
        f.pointer().setMode(on ? WindowPointer::Hourglass : WindowPointer::Default);
    }
    void loadPreviewPicture(const QString& picturePath) override {
        PreviewWindow& preview = f.previewWindow(); // loads the window before the picture arrives
        // A picture that fails to load leaves the preview empty, never showing the last
        // invitation beside the new document.
        preview.setPicture(QImage());
        preview.setPicture(loadPicture(picturePath));
    }
    void setPreviewWordFile(const QString& documentPath) override {
        f.previewWindow().setDocumentPath(documentPath);
    }
    void showPreview() override { f.previewWindow().show(); }
    void hideMainWindow() override { f.hide(); }

private:
    MainWindow& f;
};

namespace {
const QString kFormLoad = QStringLiteral("in Festoria2021/08/31.Form1.Form_Load ");
const QString kClear = QStringLiteral("in Festoria2021/08/31.Form1.PushButton2_Click ");
const QString kSample = QStringLiteral("in Festoria2021/08/31.Form1.PushButton3_Click ");

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
    : QWidget(nullptr), mPrompts(prompts), mOffice(office), mSettings(settings),
      mEndAtOnce(std::move(endAtOnce)), mProgramFolder(std::move(programFolder)),
      mEndProgram(endProgram ? std::move(endProgram) : [] { QCoreApplication::exit(0); }),
      mClipboard(clipboard ? std::move(clipboard) : std::make_unique<QtClipboard>()) {
    skin = std::make_unique<SkinFramework>();
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(8040), px(4755));
    setFont(windowFont());
    whiteBackground(this);
    buildControls();

    mPointer = new WindowPointer(this);
    for (QPushButton* button : {PushButton6, PushButton2, PushButton3})
        mPointer->setHover(button, WindowPointer::Hover::SetsCustom);
    mPointer->setHover(Frame1, WindowPointer::Hover::SetsDefault);
    for (QWidget* field : std::initializer_list<QWidget*>{dtpDate, dtpTime, txtEventName,
                                                          txtLocation, txtItems, txtDrive, txtRSVP})
        mPointer->setHover(field, WindowPointer::Hover::SetsDefault);
    for (QLabel* label : Label4)
        mPointer->setHover(label, WindowPointer::Hover::None);

    wireStorage();

    mHost = std::make_unique<Host>(*this);
    mRequest = std::make_unique<CreateInvitation>(*mHost, mOffice, mPrompts, *mClipboard);
}

MainWindow::~MainWindow() = default;

PreviewWindow& MainWindow::previewWindow() {
    if (!mPreviewWindow)
        mPreviewWindow = std::make_unique<PreviewWindow>(mPrompts, mOffice, this, mProgramFolder, mEndProgram);
    return *mPreviewWindow;
}

void MainWindow::buildControls() {
    auto button = [this](const QString& name, const QString& caption, QRect geometry) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setFont(buttonFont());
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        b->setAccessibleName(caption);
        return b;
    };
    PushButton6 = button(QStringLiteral("PushButton6"), QStringLiteral("Start Creating Template"),
                         twipsRect(120, 120, 7800, 405));
    PushButton2 = button(QStringLiteral("PushButton2"), QStringLiteral("Clear/Reset Data"),
                         twipsRect(120, 630, 3840, 405));
    PushButton3 = button(QStringLiteral("PushButton3"), QStringLiteral("Load Sample/Example Data"),
                         twipsRect(4080, 630, 3840, 405));

    Frame1 = new QGroupBox(QStringLiteral("Event details"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 1110, 7800, 3525));
    whiteBackground(Frame1);

    const QStringList captions = {
        QStringLiteral("Event Date:"),     QStringLiteral("Event Time:"),
        QStringLiteral("Name of Event:"),  QStringLiteral("Event Location:"),
        QStringLiteral("What To Bring:"),  QStringLiteral("Driving Directions:"),
        QStringLiteral("RSVP To:")};
    const int tops[] = {300, 750, 1200, 1650, 2100, 2550, 3000};

    auto picker = [this](const QString& name, const QString& format) {
        auto* p = new Picker(format, Frame1);
        p->setObjectName(name);
        p->setValue(initialPickerValue());
        return p;
    };
    dtpDate = picker(QStringLiteral("dtpDate"), QStringLiteral("dd-MMM-yyyy"));
    dtpDate->setCalendarPopup(true);
    dtpTime = picker(QStringLiteral("dtpTime"), generalTimeFormat());

    auto textBox = [this](const QString& name) {
        auto* t = new QLineEdit(Frame1);
        t->setObjectName(name);
        t->setMaxLength(std::numeric_limits<int>::max());
        t->installEventFilter(this);
        return t;
    };
    txtEventName = textBox(QStringLiteral("txtEventName"));
    txtLocation = textBox(QStringLiteral("txtLocation"));
    txtItems = textBox(QStringLiteral("txtItems"));
    txtDrive = textBox(QStringLiteral("txtDrive"));
    txtRSVP = textBox(QStringLiteral("txtRSVP"));

    const QList<QWidget*> fields = {dtpDate, dtpTime, txtEventName, txtLocation,
                                    txtItems, txtDrive, txtRSVP};
    for (int i = 0; i < fields.size(); ++i) {
        QWidget* field = fields[i];
        field->setGeometry(twipsRect(2040, tops[i], 5520, 345));
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, Qt::white);
        field->setPalette(palette);
        field->setAccessibleName(captions[i]);

        auto* label = new QLabel(captions[i], Frame1);
        label->setObjectName(QStringLiteral("Label4_%1").arg(i));
        whiteBackground(label);
        label->move(px(240), px(tops[i] + 45));
        label->adjustSize();
        label->setBuddy(field);
        Label4.append(label);
    }

    // Keyboard order: the seven fields, then the three buttons.
    QWidget* previous = dtpDate;
    for (QWidget* next : std::initializer_list<QWidget*>{dtpTime, txtEventName, txtLocation,
                                                         txtItems, txtDrive, txtRSVP, PushButton6,
                                                         PushButton2, PushButton3}) {
        setTabOrder(previous, next);
        previous = next;
    }
    dtpDate->setFocus();

    connect(PushButton2, &QPushButton::clicked, this, &MainWindow::PushButton2_Click);
    connect(PushButton3, &QPushButton::clicked, this, &MainWindow::PushButton3_Click);
    connect(PushButton6, &QPushButton::clicked, this, &MainWindow::PushButton6_Click);
}

void MainWindow::wireStorage() {
    auto storeText = [this](QLineEdit* box, const QString& key) {
        connect(box, &QLineEdit::textChanged, this, [this, key](const QString& text) {
            if (!mRestoring)
                mSettings.write(key, text);
        });
    };
    storeText(txtEventName, keys::txtEventName);
    storeText(txtLocation, keys::txtLocation);
    storeText(txtItems, keys::txtItems);
    storeText(txtDrive, keys::txtDrive);
    storeText(txtRSVP, keys::txtRSVP);

    auto storePicker = [this](Picker* picker, const QString& key) {
        connect(picker, &Picker::valueChanged, this, [this, key](const QDateTime& value) {
            if (!mRestoring)
                mSettings.write(key, generalDateText(value));
        });
    };
    storePicker(dtpDate, keys::dtpDate);
    storePicker(dtpTime, keys::dtpTime);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A text box that receives the focus has all its text selected, so typing replaces it.
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            box->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::restorePicker(Picker* picker, const QString& key, const QDateTime& whenEmpty) {
    const QString stored = mSettings.read(key);
    QDateTime value = whenEmpty;
    if (!stored.isEmpty()) {
        const auto parsed = parseGeneralDate(stored);
        if (!parsed)
            throw AppError(QStringLiteral("Type mismatch: '%1' is not a date").arg(stored.left(80)));
        value = *parsed;
    }
    if (value < Picker::earliest() || value > Picker::latest())
        throw AppError(QStringLiteral("Invalid property value: '%1' is outside the picker's range")
                           .arg(stored.left(80)));
    picker->setValue(value);
}

void MainWindow::Form_Load() {
    ErrorTrap trap(mPrompts, kFormLoad);
    trap(100, [&] { applySkin(*this, object(skin, QStringLiteral("No skin component")), mProgramFolder); });
    trap(104, [&] {
        setWindowTitle(kProductName);
        setWindowIcon(applicationIcon());
        setApplicationTitle();
    });
    const QString cursorPath = handPointerFile(mProgramFolder);
    bool hasCursor = false;
    trap(106, [&] { hasCursor = fileExists(cursorPath); });
    if (hasCursor)
        trap(108, [&] { mPointer->setHandCursor(loadCursorFile(cursorPath)); });

    mRestoring = true;
    const QDateTime now = QDateTime::currentDateTime();
    trap(128, [&] {
        restorePicker(dtpDate, keys::dtpDate, QDateTime(now.date(), QTime(0, 0), Qt::UTC));
    });
    trap(130, [&] {
        const QTime t = now.time();
        restorePicker(dtpTime, keys::dtpTime,
                      QDateTime(now.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC));
    });
    // A stored text longer than the invitation can take would make every keystroke store
    // all of it again: it is reported and left stored, and the field starts empty.
    auto storedText = [this](const QString& key) {
        QString text = mSettings.read(key);
        if (text.size() > kMaxBookmarkTextLength)
            throw AppError(QStringLiteral("The stored text for %1 is too long for the field: %2 "
                                          "characters, at most %3. It is left stored.")
                               .arg(key)
                               .arg(text.size())
                               .arg(kMaxBookmarkTextLength));
        return text;
    };
    trap(132, [&] { txtEventName->setText(storedText(keys::txtEventName)); });
    trap(134, [&] { txtLocation->setText(storedText(keys::txtLocation)); });
    trap(136, [&] { txtDrive->setText(storedText(keys::txtDrive)); });
    trap(138, [&] { txtRSVP->setText(storedText(keys::txtRSVP)); });
    trap(140, [&] { txtItems->setText(storedText(keys::txtItems)); });
    mRestoring = false;

    trap(142, [&] { checkOfficeStarts(mOffice, mPrompts, mEndAtOnce); });
}

void MainWindow::PushButton2_Click() {
    ErrorTrap trap(mPrompts, kClear);
    trap(100, [&] { txtEventName->setText(QString()); });
    trap(102, [&] { txtLocation->setText(QString()); });
    trap(104, [&] { txtItems->setText(QString()); });
    trap(106, [&] { txtDrive->setText(QString()); });
    trap(108, [&] { txtRSVP->setText(QString()); });
}

void MainWindow::PushButton3_Click() {
    ErrorTrap trap(mPrompts, kSample);
    trap(100, [&] { txtEventName->setText(sample::eventName); });
    trap(102, [&] { txtLocation->setText(sample::location); });
    trap(104, [&] { txtItems->setText(sample::items); });
    trap(106, [&] { txtDrive->setText(sample::drive); });
    trap(108, [&] { txtRSVP->setText(sample::rsvp); });
}

void MainWindow::PushButton6_Click() { mRequest->PushButton6_Click(); }

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once; every field is already stored.
    event->accept();
    mEndProgram();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!mCentred) {
        mCentred = true;
        centreOnScreen(*this);
    }
}
