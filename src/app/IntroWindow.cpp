#include "app/IntroWindow.h"

#include "app/Version.h"

#include <QEvent>
#include <QPainter>
#include <QScreen>

namespace korvex::app {

IntroWindow::IntroWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TIntro"));
    setFixedSize(420, 220);
    timer_.setObjectName(QStringLiteral("IntroTimer"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        timer_.stop();
        emit Elapsed();
    });
}

void IntroWindow::Start(QWidget* over, int milliseconds) {
    // The main window is still being placed and sized by the desktop when the picture comes:
    // it follows until it goes.
    if (over_) over_->removeEventFilter(this);
    over_ = over;
    if (over_) over_->installEventFilter(this);
    centre();
    show();
    raise();
    timer_.start(milliseconds);
}

void IntroWindow::centre() {
    if (over_) move(over_->frameGeometry().center() - rect().center());
}

bool IntroWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == over_ && isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
         event->type() == QEvent::Show))
        centre();
    return QWidget::eventFilter(watched, event);
}

void IntroWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0, 23, 47));
    // A small symbol of gold discs beside the name, the preview's own look.
    static constexpr const char* pattern[] = {
        "#.#.#.#.#.", "##..#.##.#", "##.....#..", "##...###.#", "##....#...",
        "#.....####", "#.##.#...#", "###...#.#.", "#..#.##..#", "##########"};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(pattern[y][x] == '#' ? QColor(224, 192, 0) : QColor(64, 64, 64));
            painter.drawEllipse(QRectF(30 + x * 16, 30 + y * 16, 14, 14));
        }
    painter.setPen(Qt::white);
    QFont title = font();
    title.setPixelSize(34);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(210, 50, 200, 50), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("KORVEX"));
    QFont small = font();
    small.setPixelSize(15);
    painter.setFont(small);
    painter.setPen(QColor(224, 192, 0));
    painter.drawText(QRect(210, 100, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, ProgramVersion);
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(QRect(210, 130, 200, 60), Qt::AlignLeft | Qt::TextWordWrap,
                     QStringLiteral("DataMatrix ECC 200 → NC"));
}

} // namespace korvex::app
