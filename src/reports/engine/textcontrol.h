#pragma once

#include <QString>

#include <utility>

#include "reports/engine/textboxcontrol.h"

namespace dravin {

// A fixed text: a caption, a heading, a label.
class TextControl : public TextBoxControl {
public:
    explicit TextControl(QString name, QString caption = {});

    const QString& caption() const noexcept { return mCaption; }
    void setCaption(QString caption) { mCaption = std::move(caption); }

    QString text(const ControlContext& context) const override;

private:
    QString mCaption;
};

}  // namespace dravin
