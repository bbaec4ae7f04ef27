#pragma once

#include <QTimer>
#include <QWidget>

namespace korvex::app {

// The borderless picture at start, and the one-second wait of a batch run.
class IntroWindow : public QWidget {
    Q_OBJECT
  public:
    explicit IntroWindow(QWidget* parent = nullptr);
    QTimer& Timer() { return timer_; }
    // Shows the picture centred on `over` and starts the timer.
    void Start(QWidget* over, int milliseconds);

  signals:
    void Elapsed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void centre();
    QTimer timer_;
    QWidget* over_ = nullptr;
};

} // namespace korvex::app
