#pragma once

#include "ncgen/NCSyn.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>
#include <string>
#include <vector>

namespace korvex::app {

// Paints the NC program with the core's TNCSyn scanner: it only maps token kinds to formats.
// The comment characters are those of the number format the program was written with.
class NCHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    NCHighlighter(const ncgen::TNCFormat& format, QTextDocument* document);

    // The scanner of the next program; the document is coloured when its text is set.
    void SetFormat(const ncgen::TNCFormat& format) { syn_ = ncgen::TNCSyn(format); }

    // The runs one line is painted with, for tests and the highlighter itself.
    const std::vector<ncgen::TNCToken>& Scan(const QString& line);
    static QTextCharFormat FormatOf(ncgen::TNCTokenKind kind);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    ncgen::TNCSyn syn_;
    std::array<QTextCharFormat, 7> formats_;
    std::array<bool, 7> painted_{};
    std::string bytes_;
    std::vector<ncgen::TNCToken> tokens_;
};

} // namespace korvex::app
