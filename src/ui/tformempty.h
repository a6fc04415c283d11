#pragma once

#include "ui/tsaveiniform.h"

class QFrame;
class QVBoxLayout;

namespace dravin {

// A window with a content panel (Panel1) and a button bar (Panel2, 47 pixels) along
// the bottom.
class TFormEmpty : public TSaveIniForm {
    Q_OBJECT
public:
    explicit TFormEmpty(QWidget* owner = nullptr);

    QFrame* Panel1;
    QFrame* Panel2;

protected:
    // Puts the button bar above the content instead, with the given height.
    void moveButtonBarToTop(int height);

private:
    QVBoxLayout* mLayout;
};

}  // namespace dravin
