#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class Prompts;

// The preview window. (Placeholder until the preview window lands: it holds the picture
// and the document path that "Start Creating Template" hands over.)
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(Prompts& prompts, QWidget* mainWindow);

    // Picture1's picture.
    void setPicture(const QImage& picture) { mPicture = picture; }
    QImage picture() const { return mPicture; }

    QString mWordFile;

private:
    Prompts& mPrompts;
    QWidget* mMainWindow;
    QImage mPicture;
};
