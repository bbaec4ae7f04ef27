#pragma once

#include <QStringList>

#include <string>

class QLabel;
class QStatusBar;

namespace korvex::app {

class GenerateController;
class Messages;

// The status bar's permanent part: the figures of the last program and the read-back mark.
// Permanent, so the generator's and the graphic's messages do not hide them.
class NotesStatus {
  public:
    NotesStatus(QStatusBar& bar, const Messages& messages);

    // What the generator's notes of its last program say; `feed` is the profile's Z feed.
    void Show(const GenerateController& generator, const std::string& feed);
    // The figures never take the whole status bar: a refusal or a notice must stay readable
    // beside them. Too long for one line they take up to three (the tooltip keeps the clipped).
    void FitWindowWidth(int width);

  private:
    void showReadBack(const GenerateController& generator);
    void breakStats();

    const Messages& messages_;
    QLabel* markingStats_ = nullptr;
    QStringList statsParts_;
    QLabel* readBackMark_ = nullptr;
};

} // namespace korvex::app
