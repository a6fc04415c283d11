#pragma once

#include <QString>
#include <QStringList>

#include <utility>

#include "reports/engine/textboxcontrol.h"

namespace dravin {

// A box of several lines of text (notes, remarks): wraps and grows unless told not to.
class MemoControl : public TextBoxControl {
public:
    explicit MemoControl(QString name, QString text = {});

    const QString& content() const noexcept { return mText; }
    void setContent(QString text) { mText = std::move(text); }
    void setLines(const QStringList& lines) { mText = lines.join(u'\n'); }

    QString text(const ControlContext& context) const override;

private:
    QString mText;
};

}  // namespace dravin
