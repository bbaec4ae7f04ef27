#pragma once

#include "ncgen/NCSyn.h"

#include <QList>
#include <QTextCharFormat>
#include <QTextLayout>

#include <array>
#include <string>
#include <vector>

namespace korvex::app {

// Paints the NC program with the core's TNCSyn scanner: it only maps token kinds to formats.
// The comment characters are those of the number format the program was written with.
// The editor puts the runs on each shown line's layout itself, so a long program is not
// coloured line by line before its first lines can be seen.
class NCHighlighter {
  public:
    explicit NCHighlighter(const ncgen::TNCFormat& format);

    // The painted runs of one line; neighbouring runs of the same look are one run. Valid until
    // the next call.
    const QList<QTextLayout::FormatRange>& Runs(const QString& line);
    static QTextCharFormat FormatOf(ncgen::TNCTokenKind kind);

  private:
    const std::vector<ncgen::TNCToken>& scan(const QString& line);

    ncgen::TNCSyn syn_;
    std::array<QTextCharFormat, 7> formats_;
    // Kinds painted alike share the lowest such kind's index; -1 keeps the plain format.
    std::array<int, 7> look_{};
    std::string bytes_;
    std::vector<ncgen::TNCToken> tokens_;
    QList<QTextLayout::FormatRange> runs_;
};

} // namespace korvex::app
