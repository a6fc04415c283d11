#pragma once

#include <QDialog>

namespace dravin {

// The about window: product name, version and the publisher's notice.
class TDravinAbout : public QDialog {
    Q_OBJECT
public:
    explicit TDravinAbout(QWidget* owner = nullptr);
};

}  // namespace dravin
