#pragma once

#include <QString>

namespace korvex::app {

class IntroWindow;
class MainCommands;
class Messages;
struct TStartOptions;

// What the command line asks of the window: a template opened, or the unattended run that
// generates its program, writes it to the named file and ends the program with its status.
class BatchRun {
  public:
    BatchRun(MainCommands& form, IntroWindow& intro, const TStartOptions& options,
             Messages& messages);

    // An unattended run is on: nobody answers a box, the window closes without a question.
    bool Active() const { return active_; }
    // Runs the command line of the start options; nothing without one.
    void Run();
    // A generation starts: the window gives way to the intro picture for a moment.
    void Starting();
    // The picture's time is up: the run ends once the program is there.
    void IntroElapsed();
    // Writes the generated program once and ends the program.
    void Finish();

  private:
    void start(const QString& output);

    MainCommands& form_;
    IntroWindow& intro_;
    const TStartOptions& options_;
    Messages& messages_;
    bool active_ = false;
    QString output_;
    bool written_ = false;
};

} // namespace korvex::app
