#pragma once

#include <QPointer>
#include <QWidget>

#include "data/feedback.h"

namespace dravin {

// Messages and questions as message boxes over a parent window.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : mParent(parent) {}
    void setParent(QWidget* parent) { mParent = parent; }
    void inform(const std::string& text) override;
    void error(const std::string& text) override;
    Answer confirm(const std::string& text, bool withCancel) override;

private:
    QPointer<QWidget> mParent;
};

// Passes every message on to a prompter that can be exchanged: the window's rules are
// installed once, and tests answer in place of the message boxes.
class RoutingPrompter final : public Prompter {
public:
    explicit RoutingPrompter(QWidget* parent) : mBoxes(parent) {}
    void route(Prompter* target) { mTarget = target ? target : &mBoxes; }
    void inform(const std::string& text) override { mTarget->inform(text); }
    void error(const std::string& text) override { mTarget->error(text); }
    Answer confirm(const std::string& text, bool withCancel) override {
        return mTarget->confirm(text, withCancel);
    }

private:
    QtPrompter mBoxes;
    Prompter* mTarget = &mBoxes;
};

// The program's name, the title of its message boxes.
QString programName();

// The message texts use "\r" for a line break, as the stored texts do.
QString messageText(const std::string& text);

}  // namespace dravin
