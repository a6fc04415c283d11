#include "ui/modelview/resizewatch.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace dravin {
namespace {

class ResizeWatch final : public QObject {
public:
    ResizeWatch(QWidget* widget, std::function<void(int)> changed)
        : QObject(widget), mWidget(widget), mChanged(std::move(changed)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == mWidget && event->type() == QEvent::Resize) {
            mChanged(mWidget->width());
        }
        return false;
    }

private:
    QWidget* mWidget;
    std::function<void(int)> mChanged;
};

}  // namespace

void watchWidth(QWidget* widget, std::function<void(int)> changed) {
    new ResizeWatch(widget, std::move(changed));
}

}  // namespace dravin
