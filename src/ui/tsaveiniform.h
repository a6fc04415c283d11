#pragma once

#include <QDialog>

namespace dravin {

// Root of the program's windows: remembers the help file name current at creation
// and puts it back at destruction, gives the window the standard look, starts with an
// empty caption, and restores the normal cursor when shown.
class TSaveIniForm : public QDialog {
    Q_OBJECT
public:
    explicit TSaveIniForm(QWidget* owner = nullptr);
    ~TSaveIniForm() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Runs on every change of size, after the base classes' steps.
    virtual void FormResize() {}
    virtual void FormShow() {}

private:
    QString mHelpFile;
    bool mLookApplied = false;
};

}  // namespace dravin
