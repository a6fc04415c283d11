#include "ui/dialogs/tdravinparam2.h"

#include "data/tdravindatat.h"

namespace dravin {
namespace {

const ParamDialogSpec kKinds{"Παράμετροι ανά χώρο",
                             "Parameters_07",
                             &TDravinDataT::XorosTo,
                             &TDravinDataT::XorosT,
                             {{{"IDXoros", "No#", 7},
                               {"Name", "Ονομασία", 31},
                               {"Coef1", "Σ. Αντ.Αξ-2", 12},
                               {"Coef2", "Σ. Αντ.Αξ-3", 12},
                               {"Coef3", "Σ. Κοινοχρ-2", 12},
                               {"Coef4", "Σ. Κοινοχρ-3", 12},
                               {"Coef5", "Σ. Ασανσ-2", 12}}}};

}  // namespace

TDravinParam2::TDravinParam2(QWidget* owner, TDravinDataT& data)
    : ParamDialog(owner, data, kKinds) {
    setObjectName("TDravinParam2");
}

}  // namespace dravin
