#pragma once

#include "ui/dialogs/paramdialog.h"

namespace dravin {

// The coefficients per floors, of the master table or of the current study.
class TDravinParam1 : public ParamDialog {
    Q_OBJECT
public:
    TDravinParam1(QWidget* owner, TDravinDataT& data);
};

}  // namespace dravin
