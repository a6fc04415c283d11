#pragma once

#include "ui/dialogs/paramdialog.h"

namespace dravin {

// The coefficients per kinds of space, of the master table or of the current study.
class TDravinParam2 : public ParamDialog {
    Q_OBJECT
public:
    TDravinParam2(QWidget* owner, TDravinDataT& data);
};

}  // namespace dravin
