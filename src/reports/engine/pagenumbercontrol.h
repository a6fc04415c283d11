#pragma once

#include <QString>

#include <utility>

#include "reports/engine/textboxcontrol.h"

namespace dravin {

// The number of the page being printed, after a prefix ("Σελ-" gives "Σελ-3").
class PageNumberControl : public TextBoxControl {
public:
    explicit PageNumberControl(QString name, QString prefix = {});

    const QString& prefix() const noexcept { return mPrefix; }
    void setPrefix(QString prefix) { mPrefix = std::move(prefix); }

    QString text(const ControlContext& context) const override;

private:
    QString mPrefix;
};

}  // namespace dravin
