#pragma once

#include <QDialog>
#include <QPoint>

#include "data/feedback.h"

class QLabel;
class QMovie;

namespace dravin {

// The wait window of long operations: a small always-on-top window with a message,
// placed at a given point or centred. As a ProgressReporter it also sets the busy
// cursor.
class TInfoForm final : public QDialog, public ProgressReporter {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);
    ~TInfoForm() override;

    // Where the next message appears; a null point centres it.
    void setPlace(QPoint topLeft) { mPlace = topLeft; }
    void ShowInfo(int x, int y, const QString& text);
    void SetInfoText(const QString& text);
    QString infoText() const;
    void PrepareAnimation();

    void setBusy(bool busy) override;
    void showMessage(const std::string& text) override;
    void setText(const std::string& text) override;
    void close() override;

private:
    void paintNow();

    QLabel* mLabel;
    QMovie* mMovie = nullptr;
    QPoint mPlace;
    int mBusyDepth = 0;
};

}  // namespace dravin
