#pragma once

#include "data/feedback.h"
#include "ui/tformclosehelp.h"

class QPrinter;

namespace dravin {

// A window whose values are locked against changes until the user unlocks them with
// the lock button and confirms a warning; it can also print its own image.
class TFormLockCloseHelpLow : public TFormCloseHelp {
    Q_OBJECT
public:
    explicit TFormLockCloseHelpLow(QWidget* owner = nullptr);

    QPushButton* LockBtn;
    QPushButton* PrintBtn;
    bool Locked = true;

    // The unlock question and the error messages go to this prompter instead of message
    // boxes over the window (hosts and tests that answer themselves); null for the boxes.
    void setPrompter(Prompter* prompter) noexcept { mPrompter = prompter; }

    void ShowUnlocked();
    void ShowLocked();

    static const char* const kUnlockQuestion;

public slots:
    virtual void LockBtnClick();
    virtual void PrintBtnClick();

protected:
    // Enables or disables the window's editing controls after Locked.
    virtual void ApplyLockState();
    void reportError(const QString& text);

private:
    Prompter::Answer askUnlock();
    void printImage(QPrinter& printer);

    Prompter* mPrompter = nullptr;
};

}  // namespace dravin
