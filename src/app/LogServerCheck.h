#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include "log/LogConnection.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvex::app {

class Messages;

// The log page's server field and its "test connection": the server is asked off the window's
// thread, so the dialog stays usable however long the connect takes; the answer goes into a
// label beside the button.
class LogServerCheck : public QObject {
    Q_OBJECT
  public:
    LogServerCheck(QLineEdit* field, QPushButton* button, QLabel* answer, const Messages& messages,
                   QObject* parent);

    void Start(); // the button's command
    bool Running() const { return watcher_.isRunning(); }
    // Why the field's text cannot go into main.ini (a password, no server address); empty when
    // it can.
    QString Problem() const;
    void ApplyTexts();

  signals:
    void Answered();

  private:
    void showAnswer();

    QLineEdit* field_;
    QPushButton* button_;
    QLabel* answer_;
    const Messages& messages_;
    QString asked_; // the server of the running question
    QFutureWatcher<log::TConnectionCheck> watcher_;
};

} // namespace korvex::app
