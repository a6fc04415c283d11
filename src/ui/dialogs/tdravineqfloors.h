#pragma once

#include "ui/tformclosehelp.h"

class QLabel;
class QSpinBox;

namespace dravin {

class Prompter;
class TDravinDataT;

// Copies the spaces of one floor to another, as many times as wanted; leaving the
// dialog shows the space table afresh from its first record.
class TDravinEqFloors : public TFormCloseHelp {
    Q_OBJECT
public:
    TDravinEqFloors(TDravinDataT& data, Prompter& prompter, QWidget* owner = nullptr);

    static constexpr int kMinFloor = -3;
    static constexpr int kMaxFloor = 20;
    // The floor a spin text stands for: not a whole number reads as the lowest floor,
    // one outside the range as the nearest end.
    static int floorOf(const QString& text) noexcept;

    QLabel* Label1;
    QSpinBox* SpinEdit1;
    QLabel* Label2;
    QSpinBox* SpinEdit2;
    QPushButton* BitBtn1;

    void done(int result) override;

public slots:
    void BitBtn1Click();

protected:
    void HelpBtnClick() override;

private:
    TDravinDataT& mData;
    Prompter& mPrompter;
};

}  // namespace dravin
