#include "ui/dialogs/tdravinparam1.h"

#include "data/tdravindatat.h"

namespace dravin {
namespace {

const ParamDialogSpec kFloors{"Παράμετροι ανά όροφο",
                              "Parameters_02",
                              &TDravinDataT::FloorTo,
                              &TDravinDataT::FloorT,
                              {{{"IDFloor", "No#", 8},
                                {"Name1", "Ονομασία", 21},
                                {"Name2", "Συντ/ση", 10},
                                {"Coef1", "Σ. Αντ. Αξίας-1", 16},
                                {"Coef2", "Σ. Κοινοχρ-1", 16},
                                {"Coef3", "Σ. Ασανσέρ-1", 16},
                                {"Height", "Υψος[m]", 10}}}};

}  // namespace

TDravinParam1::TDravinParam1(QWidget* owner, TDravinDataT& data)
    : ParamDialog(owner, data, kFloors) {
    setObjectName("TDravinParam1");
}

}  // namespace dravin
