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

// The message texts use "\r" for a line break, as the stored texts do.
QString messageText(const std::string& text);

}  // namespace dravin
