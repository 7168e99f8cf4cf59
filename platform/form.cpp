#include "platform/form.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

void setTwipsGeometry(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

static QRect available() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void placeOnScreen(QWidget* w, double fraction) {
    const QRect a = available();
    const QSize size = w->frameGeometry().size();
    w->move(a.left() + int((a.width() - size.width()) * fraction),
            a.top() + int((a.height() - size.height()) * fraction));
}

QSize screenTwips() {
    const QRect a = available();
    return {twips(a.width()), twips(a.height())};
}

}  // namespace platform
