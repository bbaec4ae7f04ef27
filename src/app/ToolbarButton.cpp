#include "app/ToolbarButton.h"

#include <QBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace korvex::app {

namespace {

QIcon pictureIcon(const QString& picture) {
    QPixmap pixmap(26, 22);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(picture.size() > 3 ? 10 : 12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(30, 60, 120));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, picture);
    return QIcon(pixmap);
}

} // namespace

QToolButton* AddToolbarButton(QWidget& toolbar, const char* name, const QString& picture,
                              bool checkable) {
    auto* button = new QToolButton(&toolbar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(pictureIcon(picture));
    button->setIconSize(QSize(26, 22));
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    static_cast<QBoxLayout*>(toolbar.layout())->addWidget(button);
    return button;
}

} // namespace korvex::app
