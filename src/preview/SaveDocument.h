#pragma once

#include <QString>

class Prompts;

// "Save Results To Word File": asks for a name, asks before replacing an existing file,
// and copies the invitation document there byte for byte.
class SaveDocument {
public:
    explicit SaveDocument(Prompts& prompts) : mPrompts(prompts) {}

    // The button's handler, under its own error trap.
    void PushButton6_Click(const QString& wordFile);

private:
    Prompts& mPrompts;
};

// Copies source to destination byte for byte. The copy is written to a new file in the
// destination's folder and renamed over the destination only once it is complete, so an
// existing file is either replaced whole or left exactly as it was. Throws AppError with a
// readable description on any failure, leaving no partial file behind.
void copyFileReplacing(const QString& source, const QString& destination);
