#pragma once

#include <QApplication>

namespace korvex::app {

class Messages;

// The application object with the general error handler: an error no command handled ends
// that command, is shown in a box (or on standard error in a batch run), and the program goes on.
class KorvexApplication : public QApplication {
    Q_OBJECT
  public:
    KorvexApplication(int& argc, char** argv);
    void SetMessages(const Messages* messages) { messages_ = messages; }
    bool notify(QObject* receiver, QEvent* event) override;

    // Reports an error as the handler does.
    void ShowError(const std::exception& error) const;

  private:
    const Messages* messages_ = nullptr;
};

// Chooses the offscreen platform when neither X11 nor Wayland is reachable; true if it did.
bool ChooseOffscreenWithoutDisplay();

} // namespace korvex::app
